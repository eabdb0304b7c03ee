// Which files the program takes for page images, by their names. A file's content decides its
// format in the end (the engine and the preview both read its first bytes); these rules only
// decide which names are offered, taken, tried or hinted. Every such rule is here, named; where
// two differ, the comment says why.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane {

// The extensions of the formats pages are made from (JPEG, TIFF, PNG), lower case, with the dot.
const std::vector<std::string> &pageImageExtensions();

// What the add dialog offers: every page image extension as a pattern ("*.jpg"); the dialog
// matches them without regard to case.
std::vector<std::string> addDialogPatterns();

// Whether a dropped file, or a file of a dropped or named folder, goes into the list: its name
// ends with a page image extension, in any case.
bool isPageImageName(const std::string &path);

// The files of a folder that go into the list, not those of its subfolders: its regular files
// (or links to them) with a page image name, ordered by their names with `compareNames` (< 0:
// the first comes first; equal names keep the order of their bytes). nullopt when the folder
// cannot be read, with `error` set to the system's reason.
std::optional<std::vector<std::string>>
pageImagesInFolder(const std::string &folder,
                   const std::function<int(std::string_view, std::string_view)> &compareNames,
                   std::string &error);

// Whether the preview tries to decode a file: its extension starts with ".tif", ".jpg", ".jpe",
// ".bmp" or ".png", in any case; other files show the placeholder picture. Wider than
// isPageImageName on purpose: the original window compared only an extension's first four
// characters (so ".tiff" and ".jpeg" count, and so does ".jpe"), and the preview's image library
// reads BMP too, although no page is made from one.
bool isPreviewName(const std::string &path);

// The image type the page loop names to the engine for a path: "jpeg" when ".jpg" or ".JPG"
// occurs in it after its first character, else "tiff" for ".tif" or ".TIF", else "auto". This is
// the original generate command's substring test, kept as it was: the engine reads the file's
// content whatever the hint says, so the hint changes only the type a call names.
const char *imageTypeForPath(const std::string &path);

} // namespace folvane
