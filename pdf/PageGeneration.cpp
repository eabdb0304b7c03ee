#include "pdf/PageGeneration.h"

#include <sys/stat.h>

#include "pdf/PdfWriter.h"

namespace folvane {

namespace {

// True when `part` first occurs in `path` after its first character.
bool FoundAfterStart(const std::string &path, const char *part) {
    std::size_t position = path.find(part);
    return position != std::string::npos && position > 0;
}

// Writing over an image would replace it before its own page is read back by anyone: refuse
// an output that is the same file as an input, by device and inode so that links count.
void RefuseOutputAmongInputs(const std::string &savePath,
                             const std::vector<std::string> &imagePaths) {
    struct stat output {};
    if (::stat(savePath.c_str(), &output) != 0) {
        return;
    }
    for (std::size_t i = 0; i < imagePaths.size(); ++i) {
        struct stat input {};
        if (::stat(imagePaths[i].c_str(), &input) == 0 && input.st_dev == output.st_dev &&
            input.st_ino == output.st_ino) {
            throw GenerateError("the output file \"" + savePath + "\" is the input image \"" +
                                    imagePaths[i] + "\"; choose another output file",
                                savePath, 0, GenerateError::kNoRow);
        }
    }
}

// The engine's reason for an output it could not create, without the name of its call.
std::string OpenFailure(const PdfWriter &writer) {
    std::string reason = writer.LastErrorMessage();
    const std::string call = "pdfw_open_file: ";
    if (reason.compare(0, call.size(), call) == 0) {
        reason.erase(0, call.size());
    }
    return reason.empty() ? "cannot create the output file" : reason;
}

PagePlacement PlaceLoadedImage(PdfWriter &writer, int image, const PageLayout &layout) {
    float width = 0;
    float height = 0;
    writer.GetImageSize(image, width, height);
    return PlaceOnPage(layout, width, height);
}

// Writes page `filePage` of `path` and collects the engine's notes on its image. A class
// keeps the order the generate command always used (page, image, place at the origin); fit
// loads the image first, because its size decides the page's.
PagePlacement WritePage(PdfWriter &writer, const PageLayout &layout, const std::string &path,
                        int filePage, std::string &notes) {
    const char *type = ImageTypeForPath(path);
    PagePlacement placement{};
    int image = 0;
    if (layout.fit) {
        image = writer.OpenImageFile(type, path, "", filePage);
        placement = PlaceLoadedImage(writer, image, layout);
        writer.BeginPage(placement.pageWidth, placement.pageHeight);
    } else {
        placement = PlaceOnPage(layout, 0, 0);
        writer.BeginPage(placement.pageWidth, placement.pageHeight);
        image = writer.OpenImageFile(type, path, "", filePage);
        placement = PlaceLoadedImage(writer, image, layout);
    }
    writer.PlaceImage(image, placement.x, placement.y, placement.scale);
    notes = writer.GetImageNotes(image);
    writer.CloseImage(image);
    writer.EndPage();
    return placement;
}

// Tells the caller about a cut image and each of the engine's note lines.
void ReportNotes(const GenerateEvents &events, PageNote note, const PagePlacement &placement,
                 const std::string &notes) {
    if (!events.onNote) {
        return;
    }
    if (placement.outside > 0) {
        note.kind = PageNote::Kind::Cropped;
        note.outside = placement.outside;
        events.onNote(note);
    }
    note.outside = 0;
    std::size_t start = 0;
    while (start < notes.size()) {
        std::size_t end = notes.find('\n', start);
        if (end == std::string::npos) {
            end = notes.size();
        }
        if (end > start) {
            note.text = notes.substr(start, end - start);
            note.kind = note.text.rfind("repaired", 0) == 0 ? PageNote::Kind::Repaired
                                                            : PageNote::Kind::Engine;
            events.onNote(note);
        }
        start = end + 1;
    }
}

// What a failure is about: the output, or a row's page.
struct Subject {
    std::string path;
    int filePage = 0;
    std::size_t index = GenerateError::kNoRow;
};

void WriteDocument(const std::string &savePath, const std::vector<std::string> &imagePaths,
                   const GenerateOptions &options, const GenerateEvents &events, Subject &subject) {
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    writer.SetParameter("compatibility", "1.4");
    if (!options.ocrLanguages.empty()) {
        writer.SetParameter("ocr", options.ocrLanguages);
    }
    if (writer.OpenFile(savePath) == -1) {
        throw GenerateError(OpenFailure(writer), savePath, 0, GenerateError::kNoRow);
    }
    // Every page ahead, so that the engine prepares them on all cores while it writes.
    for (const std::string &path : imagePaths) {
        writer.QueueImage(ImageTypeForPath(path), path, "", options.firstPageOnly ? 1 : 0);
    }
    const std::size_t total = imagePaths.size();
    for (std::size_t i = 0; i < total; ++i) {
        const std::string &path = imagePaths[i];
        subject = Subject{path, 1, i};
        const int pages = options.firstPageOnly ? 1 : writer.CountPages(path);
        for (int page = 1; page <= pages; ++page) {
            subject.filePage = page;
            if (events.stopRequested && events.stopRequested()) {
                throw GenerateCancelled();
            }
            if (events.onPage) {
                events.onPage(PageStart{i, total, path, page, pages});
            }
            std::string notes;
            PagePlacement placement = WritePage(writer, options.layout, path, page, notes);
            ReportNotes(events, PageNote{i, path, page, pages, PageNote::Kind::Engine, 0, ""},
                        placement, notes);
        }
    }
    subject = Subject{savePath, 0, GenerateError::kNoRow};
    writer.Close();
    if (events.afterClose) {
        events.afterClose();
    }
}

} // namespace

const char *ImageTypeForPath(const std::string &path) {
    if (FoundAfterStart(path, ".jpg") || FoundAfterStart(path, ".JPG")) {
        return "jpeg";
    }
    if (FoundAfterStart(path, ".tif") || FoundAfterStart(path, ".TIF")) {
        return "tiff";
    }
    return "auto";
}

void GeneratePdf(const std::string &savePath, const std::vector<std::string> &imagePaths,
                 const GenerateOptions &options, const GenerateEvents &events) {
    RefuseOutputAmongInputs(savePath, imagePaths);
    Subject subject{savePath, 0, GenerateError::kNoRow};
    try {
        WriteDocument(savePath, imagePaths, options, events, subject);
    } catch (const GenerateError &) {
        throw;
    } catch (const GenerateCancelled &) {
        throw;
    } catch (const PdfWriter::Exception &e) {
        throw GenerateError(e.message, subject.path, subject.filePage, subject.index);
    } catch (const std::exception &e) {
        throw GenerateError(e.what(), subject.path, subject.filePage, subject.index);
    } catch (...) {
        throw GenerateError("unexpected failure", subject.path, subject.filePage, subject.index);
    }
}

} // namespace folvane
