#pragma once

#include <string>
#include <vector>

class FileNameCollation;

// Which files the window takes into its list from a drop or from its command line.

// The image files of a folder, not of its subfolders, with their names in the order of
// `collation`; empty when the folder cannot be read.
std::vector<std::string> imageFilesInFolder(const std::string &folder,
                                            const FileNameCollation &collation);

// What a drop of paths adds: a file with an image file name or a PDF's stands for itself, a folder
// for its image files; anything else adds nothing. Order as dropped, each folder's files ordered as
// imageFilesInFolder orders them.
std::vector<std::string> imageFilesOfDrop(const std::vector<std::string> &paths,
                                          const FileNameCollation &collation);

// What the command line's paths add, in the order given: each file as an absolute path, whatever
// its name (the user chose it), each folder as its image files.
std::vector<std::string> imageFilesOfArguments(const std::vector<std::string> &arguments,
                                               const FileNameCollation &collation);
