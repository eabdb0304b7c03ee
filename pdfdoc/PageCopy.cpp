// Copying a page's objects: its dictionary's entries and every object they reach, each written
// once per source document, renumbered by the receiving document.
#include <deque>
#include <utility>

#include <qpdf/Buffer.hh>

#include "pdfdoc/QpdfSource.h"

namespace folvane::pdfdoc {

namespace {

// Entries of a page dictionary the caller writes itself or that only make sense in the source
// document (its article beads and its place in the structure tree).
const std::set<std::string> kPageKeysLeftOut = {
    "/Type", "/Parent", "/MediaBox", "/CropBox", "/Rotate", "/Resources", "/B", "/StructParents"};

class PageCopier {
public:
    PageCopier(PdfPages::Source &source, QPDFObjGen page, int pageObject, ObjectSink &sink)
        : source_(source), page_(page), pageObject_(pageObject), sink_(sink) {}

    // The object's syntax, references renumbered; objects reached for the first time are
    // queued for writeQueued.
    std::string syntax(QPDFObjectHandle value, int depth) {
        if (depth > PdfPages::kMaxNesting) {
            throw PdfError(PdfFailure::Damaged, "arrays or dictionaries nested too deeply");
        }
        if (value.isIndirect()) {
            return reference(value);
        }
        return directSyntax(value, depth);
    }

    // Writes every queued object, and those they reach in turn.
    void writeQueued() {
        while (!queue_.empty()) {
            auto [objGen, number] = queue_.front();
            queue_.pop_front();
            QPDFObjectHandle object = source_.qpdf->getObject(objGen);
            if (object.isStream()) {
                writeStream(object, number);
            } else {
                sink_.writeObject(number, directSyntax(object, 0));
            }
        }
    }

    std::string dictionaryEntries(QPDFObjectHandle dictionary, const std::set<std::string> &skip,
                                  int depth) {
        std::string text;
        for (const std::string &key : dictionary.getKeys()) {
            if (skip.count(key) == 0) {
                text += QPDFObjectHandle::newName(key).unparse() + " " +
                        syntax(dictionary.getKey(key), depth + 1);
            }
        }
        return text;
    }

private:
    std::string reference(QPDFObjectHandle value) {
        const QPDFObjGen objGen = value.getObjGen();
        if (objGen == page_) {
            return std::to_string(pageObject_) + " 0 R";
        }
        if (source_.tree.count(objGen) != 0 || value.isNull()) {
            return "null";
        }
        auto known = source_.copied.find(objGen);
        if (known != source_.copied.end()) {
            return std::to_string(known->second) + " 0 R";
        }
        const int number = sink_.reserveObject();
        source_.copied.emplace(objGen, number);
        queue_.emplace_back(objGen, number);
        return std::to_string(number) + " 0 R";
    }

    std::string directSyntax(QPDFObjectHandle value, int depth) {
        if (value.isDictionary()) {
            return "<<" + dictionaryEntries(value, {}, depth) + ">>";
        }
        if (value.isArray()) {
            std::string text = "[";
            const int count = value.getArrayNItems();
            for (int i = 0; i < count; ++i) {
                text += (i ? " " : "") + syntax(value.getArrayItem(i), depth + 1);
            }
            return text + "]";
        }
        if (value.isStream() || value.isReserved()) { // a stream is never direct
            return "null";
        }
        return value.unparse();
    }

    void writeStream(QPDFObjectHandle stream, int number) {
        std::shared_ptr<Buffer> data = stream.getRawStreamData();
        const std::string dictionary = dictionaryEntries(stream.getDict(), {"/Length"}, 0);
        sink_.writeStream(
            number, dictionary,
            std::string_view(reinterpret_cast<const char *>(data->getBuffer()), data->getSize()));
    }

    PdfPages::Source &source_;
    QPDFObjGen page_;
    int pageObject_;
    ObjectSink &sink_;
    std::deque<std::pair<QPDFObjGen, int>> queue_;
};

} // namespace

std::string PdfPages::copyPage(int page, int pageObject, ObjectSink &sink) {
    TreePage tree = source_->pages.at(static_cast<std::size_t>(page - 1));
    return asPdfError([&] {
        PageCopier copier(*source_, tree.page.getObjGen(), pageObject, sink);
        std::string entries = copier.dictionaryEntries(tree.page, kPageKeysLeftOut, 0);
        entries += "/Resources " + (tree.resources.isNull() ? std::string("<<>>")
                                                            : copier.syntax(tree.resources, 1));
        copier.writeQueued();
        return entries;
    });
}

} // namespace folvane::pdfdoc
