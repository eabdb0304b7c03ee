#include "pdfdoc/PdfPages.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <set>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFXRefEntry.hh>

#include "pdfdoc/QpdfSource.h"

namespace folvane::pdfdoc {

namespace {

// A file that cannot be opened or is not a regular file is refused before qpdf sees it, with
// the system's words rather than qpdf's.
void checkFile(const std::string &path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw PdfError(PdfFailure::CannotOpen, std::strerror(errno));
    }
    struct stat facts {};
    const bool regular = ::fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode);
    ::close(fd);
    if (!regular) {
        throw PdfError(PdfFailure::NotAFile, "not a regular file");
    }
}

std::unique_ptr<QPDF> openWithQpdf(const std::string &path, const std::string &password) {
    auto qpdf = std::make_unique<QPDF>();
    qpdf->setSuppressWarnings(true);
    try {
        qpdf->processFile(path.c_str(), password.empty() ? nullptr : password.c_str());
    } catch (const QPDFExc &e) {
        if (e.getErrorCode() == qpdf_e_password) {
            throw PdfError(password.empty() ? PdfFailure::PasswordNeeded
                                            : PdfFailure::WrongPassword,
                           e.getMessageDetail());
        }
        throw PdfError(PdfFailure::Damaged, e.getMessageDetail());
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &e) {
        throw PdfError(PdfFailure::Damaged, e.what());
    }
    return qpdf;
}

// Counts what passes and stops the stream once it passes its ceiling.
class CountingPipe : public Pipeline {
public:
    explicit CountingPipe(long long ceiling) : Pipeline("count", nullptr), ceiling_(ceiling) {}
    void write(unsigned char const *, size_t length) override {
        total_ += static_cast<long long>(length);
        if (total_ > ceiling_) {
            exceeded_ = true;
            throw std::length_error("stream beyond its ceiling");
        }
    }
    void finish() override {}
    long long total() const { return total_; }
    bool exceeded() const { return exceeded_; }

private:
    long long ceiling_;
    long long total_ = 0;
    bool exceeded_ = false;
};

// qpdf decodes a whole object stream in memory when it reads an object from it: each one is
// decoded here first with a ceiling, so that one that swells without end is refused.
void checkObjectStreams(QPDF &qpdf) {
    std::set<int> streams;
    for (const auto &[objGen, entry] : qpdf.getXRefTable()) {
        if (entry.getType() == 2) {
            streams.insert(entry.getObjStreamNumber());
        }
    }
    for (int number : streams) {
        QPDFObjectHandle stream = qpdf.getObjectByID(number, 0);
        if (!stream.isStream()) {
            continue;
        }
        CountingPipe stored(std::numeric_limits<long long>::max());
        stream.pipeStreamData(&stored, 0, qpdf_dl_none, true);
        const long long ceiling =
            std::max(stored.total() * PdfPages::kObjectStreamRatio, PdfPages::kObjectStreamFloor);
        CountingPipe decoded(ceiling);
        try {
            stream.pipeStreamData(&decoded, 0, qpdf_dl_generalized, true);
        } catch (const std::length_error &) {
        }
        if (decoded.exceeded()) {
            throw PdfError(PdfFailure::Damaged, "object stream " + std::to_string(number) +
                                                    " decodes to more than " +
                                                    std::to_string(ceiling) + " bytes");
        }
    }
}

QPDFObjectHandle inheritedOr(QPDFObjectHandle node, const char *key, QPDFObjectHandle parent) {
    QPDFObjectHandle own = node.getKey(key);
    return own.isNull() ? parent : own;
}

// Walks the page tree without trusting its /Count, each node once, down to kMaxTreeDepth.
void readPageTree(QPDF &qpdf, PdfPages::Source &source) {
    QPDFObjectHandle root = qpdf.getRoot();
    source.tree.insert(root.getObjGen());
    struct Step {
        QPDFObjectHandle node;
        TreePage inherited;
        int depth;
    };
    std::vector<Step> stack{{root.getKey("/Pages"), {}, 0}};
    while (!stack.empty()) {
        Step step = std::move(stack.back());
        stack.pop_back();
        QPDFObjectHandle node = step.node;
        if (!node.isDictionary()) {
            continue;
        }
        if (node.isIndirect() && !source.tree.insert(node.getObjGen()).second) {
            throw PdfError(PdfFailure::Damaged, "the page tree refers to itself");
        }
        TreePage here{node, inheritedOr(node, "/Resources", step.inherited.resources),
                      inheritedOr(node, "/MediaBox", step.inherited.mediaBox),
                      inheritedOr(node, "/CropBox", step.inherited.cropBox),
                      inheritedOr(node, "/Rotate", step.inherited.rotate)};
        QPDFObjectHandle kids = node.getKey("/Kids");
        if (!kids.isArray()) {
            if (source.pages.size() >= static_cast<std::size_t>(PdfPages::kMaxPages)) {
                throw PdfError(PdfFailure::Damaged,
                               "more than " + std::to_string(PdfPages::kMaxPages) + " pages");
            }
            source.pages.push_back(std::move(here));
            continue;
        }
        if (step.depth >= PdfPages::kMaxTreeDepth) {
            throw PdfError(PdfFailure::Damaged, "the page tree is nested too deeply");
        }
        for (int i = kids.getArrayNItems() - 1; i >= 0; --i) {
            stack.push_back({kids.getArrayItem(i), here, step.depth + 1});
        }
    }
}

// A box of four numbers, corners in either order; none for anything else or an empty box.
std::optional<PageBox> boxOf(QPDFObjectHandle value) {
    if (!value.isArray() || value.getArrayNItems() != 4) {
        return std::nullopt;
    }
    double n[4];
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = value.getArrayItem(i);
        if (!item.isNumber() || !std::isfinite(item.getNumericValue())) {
            return std::nullopt;
        }
        n[i] = item.getNumericValue();
    }
    PageBox box{std::min(n[0], n[2]), std::min(n[1], n[3]), std::max(n[0], n[2]),
                std::max(n[1], n[3])};
    if (box.width() <= 0 || box.height() <= 0) {
        return std::nullopt;
    }
    return box;
}

} // namespace

PdfPages::PdfPages(const std::string &path, const std::string &password)
    : source_(std::make_unique<Source>()) {
    checkFile(path);
    source_->qpdf = openWithQpdf(path, password);
    QPDF &qpdf = *source_->qpdf;
    asPdfError([&] {
        checkObjectStreams(qpdf);
        readPageTree(qpdf, *source_);
    });
    if (source_->pages.empty()) {
        throw PdfError(PdfFailure::Damaged, "no pages");
    }
    if (qpdf.anyWarnings()) {
        source_->recovered = true;
        std::vector<QPDFExc> warnings = qpdf.getWarnings();
        source_->recoveryDetail = warnings.front().getMessageDetail();
    }
}

PdfPages::~PdfPages() = default;

int PdfPages::pageCount() const {
    return static_cast<int>(source_->pages.size());
}

bool PdfPages::recovered() const {
    return source_->recovered;
}

std::string PdfPages::recoveryDetail() const {
    return source_->recoveryDetail;
}

PageFrame PdfPages::frame(int page) const {
    TreePage tree = source_->pages.at(static_cast<std::size_t>(page - 1));
    return asPdfError([&] {
        PageFrame frame;
        frame.mediaBox = boxOf(tree.mediaBox).value_or(PageBox{});
        PageBox crop = boxOf(tree.cropBox).value_or(frame.mediaBox);
        const PageBox &media = frame.mediaBox;
        crop = PageBox{std::max(crop.left, media.left), std::max(crop.bottom, media.bottom),
                       std::min(crop.right, media.right), std::min(crop.top, media.top)};
        frame.cropBox = crop.width() > 0 && crop.height() > 0 ? crop : media;
        if (tree.rotate.isInteger()) {
            const long long turn = tree.rotate.getIntValue();
            frame.rotate = turn % 90 == 0 ? static_cast<int>(((turn % 360) + 360) % 360) : 0;
        }
        return frame;
    });
}

} // namespace folvane::pdfdoc
