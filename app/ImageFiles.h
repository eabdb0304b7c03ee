#pragma once

#include <string>
#include <vector>

// Which files the window takes into its list from a drop or from its command line.

// True for names ending .jpg, .jpeg, .tif, .tiff or .png, in any mix of case.
bool IsImageFileName(const std::string &path);

// The image files of a folder, not of its subfolders, in natural order of their names; empty when
// the folder cannot be read.
std::vector<std::string> ImageFilesInFolder(const std::string &folder);

// What a drop of paths adds: a file with an image file name stands for itself, a folder for its
// image files; anything else adds nothing. Order as dropped, each folder's files in natural order.
std::vector<std::string> ImageFilesOfDrop(const std::vector<std::string> &paths);

// What the command line's paths add, in the order given: each file as an absolute path, whatever
// its name (the user chose it), each folder as its image files.
std::vector<std::string> ImageFilesOfArguments(const std::vector<std::string> &arguments);
