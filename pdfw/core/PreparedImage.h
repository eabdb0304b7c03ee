// What preparing an image yields and the writer then puts into the document: the image's own
// objects (its XObject, a soft mask, ...) with their dictionaries and data, the shared
// resources they use, and what placing the image needs to know.
//
// Contract between preparing and writing:
// - Preparing (reading, checking, decoding, compressing) is the costly part and may run on any
//   thread: it touches no document state and gives out no object numbers.
// - A prepared object refers to another object by an ObjectRef, never by number: to one of the
//   same group's objects by its index (ObjectRef::own), or to one of the group's shared
//   resources by its index in ObjectGroup::shared (ObjectRef::shared).
// - The writer numbers a group's objects consecutively in their order and writes them in that
//   order; shared resources the group uses that the document does not hold yet are written
//   first, once per document for each distinct key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/CropRule.h"
#include "ocr/PageText.h"
#include "pdfw/core/FileSpan.h"
#include "pdfw/core/Memory.h"
#include "pdfw/core/Problem.h"

namespace folvane::pdfw {

struct ObjectRef {
    enum class To { Own, Shared };
    To to = To::Own;
    std::size_t index = 0;

    static ObjectRef own(std::size_t index) { return {To::Own, index}; }
    static ObjectRef shared(std::size_t index) { return {To::Shared, index}; }
};

// The text of a PDF dictionary (or of any object) that may refer to other objects: literal
// text and references, in order. Each reference becomes "N 0 R" once the writer knows N.
class ObjectText {
public:
    ObjectText() = default;
    ObjectText(std::string text) : text_(std::move(text)) {}
    ObjectText(const char *text) : text_(text) {}

    ObjectText &operator+=(std::string_view text) {
        text_ += text;
        return *this;
    }
    ObjectText &operator+=(ObjectRef ref) {
        refs_.emplace_back(text_.size(), ref);
        return *this;
    }

    // The text with every reference written as "<number> 0 R", numbers from `number`.
    std::string resolve(const std::function<int(ObjectRef)> &number) const;

private:
    std::string text_;
    std::vector<std::pair<std::size_t, ObjectRef>> refs_; // where in text_ each one goes
};

struct PreparedObject {
    // A stream: its dictionary entries other than /Length, and `data` its bytes, or `file`
    // when they are an input file's bytes going in unchanged. Otherwise the whole object, e.g.
    // "<</Type/Font ...>>", and `data` is empty.
    ObjectText dictionary;
    Buffer data;
    bool stream = true;
    std::optional<FileSpan> file;
};

// An object (or a few that refer to each other) that many pages may use and the document
// holds once: an ICC profile, a font. `key` tells distinct resources apart and must differ
// whenever the objects' bytes differ: a prefix naming the kind and the digest of the content
// (sha256Hex). objects[0] is the one others refer to; references inside are ObjectRef::own.
struct SharedResource {
    std::string key;
    std::vector<PreparedObject> objects;
};

struct ObjectGroup {
    std::vector<PreparedObject> objects;
    std::vector<std::shared_ptr<const SharedResource>> shared;
};

struct PreparedImage {
    ObjectGroup group;
    std::size_t xobject = 0; // which of group.objects is the image XObject
    std::uint32_t width = 0; // stored pixels
    std::uint32_t height = 0;
    int orientation = 1; // 1..8, how the stored picture is shown upright
    // The part of the stored picture that shows on the page, the rest clipped away: a crop
    // whose edge lies inside a JPEG's block. None: all of it.
    std::optional<folvane::StoredArea> shown;
    // A page document correction made: the sheet's size in points as stored (before
    // `orientation`); 0 x 0 for any other image.
    double sheetWidth = 0;
    double sheetHeight = 0;
    // The resolution the file states, in dots per inch along the stored axes; 0 when none.
    double dpiX = 0;
    double dpiY = 0;
    Notes notes;                                        // what the caller may want to tell the user
    std::shared_ptr<const folvane::ocr::PageText> text; // words recognised on it, when asked for
    // An open book's second page, prepared with this, its first (noted PDFW_NOTE_SPREAD).
    std::shared_ptr<PreparedImage> facing;
};

// One stream object for a group, holding `data` under the entries of `dictionary`.
PreparedObject streamObject(ObjectText dictionary, Buffer data);
// One stream object whose data are bytes of an input file, copied when it is written.
PreparedObject streamObject(ObjectText dictionary, FileSpan file);

} // namespace folvane::pdfw
