#include <gtest/gtest.h>

#include <filesystem>

#include "app/CFolvaneDlg.h"

namespace {

std::string Placeholder() {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return (exe.parent_path() / "无法显示.bmp").string();
}

TEST(PreviewFile, SixExtensionFormsAreLoadedFromTheirOwnPath) {
    for (const char *path : {"/p/a.tif", "/p/a.TIF", "/p/a.jpg", "/p/a.JPG", "/p/a.bmp", "/p/a.BMP",
                             "/p/a.tiff", "/p/a.TIFF", "/p/a.jpgx"}) {
        EXPECT_EQ(CFolvaneDlg::PreviewFilePath(path), path);
    }
}

TEST(PreviewFile, OtherExtensionsShowThePlaceholderBesideTheProgram) {
    for (const char *path : {"/p/a.png", "/p/a.Jpg", "/p/a.jpeg", "/p/a.tIf", "", "/p/noext",
                             "/p/dir.jpg/name", "/p/a.jp"}) {
        EXPECT_EQ(CFolvaneDlg::PreviewFilePath(path), Placeholder()) << path;
    }
}

} // namespace
