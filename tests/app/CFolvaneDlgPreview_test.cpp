#include <gtest/gtest.h>

#include <filesystem>

#include "app/CFolvaneDlg.h"

namespace {

std::string Placeholder() {
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return (exe.parent_path() / "无法显示.bmp").string();
}

TEST(PreviewFile, PictureExtensionsInAnyCaseAreLoadedFromTheirOwnPath) {
    for (const char *path :
         {"/p/a.tif", "/p/a.TIF", "/p/a.tIf", "/p/a.tiff", "/p/a.TIFF", "/p/a.jpg", "/p/a.JPG",
          "/p/a.Jpg", "/p/a.jpeg", "/p/a.JPEG", "/p/a.Jpeg", "/p/a.jpe", "/p/a.bmp", "/p/a.BMP",
          "/p/a.png", "/p/a.PNG", "/p/a.Png", "/p/a.jpgx"}) {
        EXPECT_EQ(CFolvaneDlg::PreviewFilePath(path), path);
    }
}

TEST(PreviewFile, OtherExtensionsShowThePlaceholderBesideTheProgram) {
    for (const char *path :
         {"/p/a.gif", "/p/a.webp", "", "/p/noext", "/p/dir.jpg/name", "/p/a.jp", "/p/a.pn"}) {
        EXPECT_EQ(CFolvaneDlg::PreviewFilePath(path), Placeholder()) << path;
    }
}

} // namespace
