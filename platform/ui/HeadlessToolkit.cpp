#include "platform/ui/HeadlessToolkit.h"

#include <algorithm>

#include "platform/ui/HeadlessDialog.h"

std::unique_ptr<DialogPeer> HeadlessToolkit::CreateDialogPeer(const DialogTemplate &dialog,
                                                              CDialog &owner) {
    auto peer = std::make_unique<HeadlessDialog>(*this, dialog, owner);
    m_dialogs.push_back(peer.get());
    return peer;
}

bool HeadlessToolkit::ShellExecute(const std::string &verb, const std::string &file,
                                   int showCommand) {
    Record(UiEvent{UiEvent::Kind::ShellExecute, shellOpens ? 1 : 0, file, verb,
                   static_cast<unsigned>(showCommand)});
    return shellOpens;
}

std::string MemorySettings::Read(const std::string &key) const {
    auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

void HeadlessToolkit::PostToUiThread(std::function<void()> call) {
    {
        std::lock_guard<std::mutex> lock(m_posted->mutex);
        m_posted->calls.push_back(std::move(call));
    }
    m_posted->arrived.notify_all();
}

int HeadlessToolkit::RunPosted() {
    int ran = 0;
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> lock(m_posted->mutex);
            if (m_posted->calls.empty()) {
                return ran;
            }
            call = std::move(m_posted->calls.front());
            m_posted->calls.pop_front();
        }
        call();
        ++ran;
    }
}

bool HeadlessToolkit::WaitForPosted(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_posted->mutex);
    return m_posted->arrived.wait_for(lock, limit, [this] { return !m_posted->calls.empty(); });
}

void HeadlessToolkit::Record(const UiEvent &event) {
    events.push_back(event);
}

HeadlessDialog *HeadlessToolkit::Dialog(int templateId) const {
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
        if ((*it)->Template().id == templateId) {
            return *it;
        }
    }
    return nullptr;
}

void HeadlessToolkit::Forget(HeadlessDialog *dialog) {
    m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), dialog), m_dialogs.end());
}

std::vector<UiEvent> HeadlessToolkit::Events(UiEvent::Kind kind) const {
    std::vector<UiEvent> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [kind](const UiEvent &event) { return event.kind == kind; });
    return found;
}

std::vector<std::string> HeadlessToolkit::MessageTexts() const {
    std::vector<std::string> texts;
    for (const UiEvent &event : Events(UiEvent::Kind::MessageBox)) {
        texts.push_back(event.text);
    }
    return texts;
}

std::vector<std::string> HeadlessToolkit::ShellFiles() const {
    std::vector<std::string> files;
    for (const UiEvent &event : Events(UiEvent::Kind::ShellExecute)) {
        files.push_back(event.text);
    }
    return files;
}
