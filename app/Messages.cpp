#include "app/Messages.h"

#include "app/CutPages.h"

namespace {

using Kind = folvane::Problem::Kind;

std::string Quoted(const std::string &text) {
    return "“" + text + "”";
}

// The library's own words, in parentheses after the window's sentence.
std::string Raw(const std::string &words) {
    return words.empty() ? std::string() : "（" + words + "）";
}

// "JPEG, TIFF, PNG" as "JPEG、TIFF 或 PNG".
std::string FormatList(const std::string &names) {
    std::string list = names;
    std::size_t last = list.rfind(", ");
    if (last != std::string::npos) {
        list.replace(last, 2, " 或 ");
    }
    for (std::size_t at = list.find(", "); at != std::string::npos; at = list.find(", ")) {
        list.replace(at, 2, "、");
    }
    return list;
}

std::string FileProblemText(const folvane::Problem &p) {
    const std::string file = Quoted(p.file);
    switch (p.kind) {
    case Kind::CannotOpen:
        return "无法打开文件" + file + Raw(p.detail);
    case Kind::CannotRead:
        return "无法读取文件" + file + Raw(p.detail);
    case Kind::NotAnImage:
        return file + "不是 " + FormatList(p.item) + " 图片" +
               (p.numbers[0] ? "（文件是空的）" : "");
    case Kind::Damaged:
        return file + "不是完好的 " + (p.format.empty() ? "图片" : p.format) + " 文件" +
               Raw(p.detail);
    case Kind::Truncated:
        return file + "不完整, 文件提前结束" + Raw("ends inside " + p.item);
    case Kind::Unsupported:
        return file + "这种图片无法放入PDF" + Raw(p.detail);
    case Kind::TooManyPixels:
        return file + "有 " + std::to_string(p.numbers[0]) + " x " + std::to_string(p.numbers[1]) +
               " 像素, 超过 PDF 阅读器能显示的每边 " + std::to_string(folvane::kMaxPictureSide) +
               " 像素";
    case Kind::DataTooShort:
        return file + "声称有 " + std::to_string(p.numbers[0]) + " 像素, 但它的 " +
               std::to_string(p.numbers[1]) + " 字节图像数据容纳不下";
    case Kind::NoSuchPage:
        return file + "没有第 " + std::to_string(p.numbers[0]) + " 页（共 " +
               std::to_string(p.numbers[1]) + " 页）";
    default:
        return "内部错误" + Raw(p.detail);
    }
}

std::string OutputText(const folvane::Problem &p) {
    const std::string file = Quoted(p.file);
    if (p.item == "create") {
        return "无法创建文件" + file + Raw(p.detail);
    }
    if (p.item == "flush") {
        return "无法把文件" + file + "写入磁盘" + Raw(p.detail);
    }
    if (p.item == "rename") {
        return "无法把完成的文件改名为" + file + Raw(p.detail);
    }
    return "无法写入文件" + file + Raw(p.detail);
}

std::string RecognitionText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::LanguageNames:
        return "文字识别: " + Quoted(p.item) + "不是用“+”连接的语言名称（例如 chi_sim+eng）";
    case Kind::LanguageMissing:
        return "文字识别: 语言" + Quoted(p.item) + "的数据没有安装, 请安装 Debian 软件包 " +
               p.detail;
    default:
        if (!p.item.empty()) {
            return "文字识别引擎模块 " + p.item + " 无法使用" + Raw(p.detail);
        }
        return "文字识别失败" + Raw(p.detail);
    }
}

} // namespace

std::string ProblemText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::None:
    case Kind::Internal:
    case Kind::Call:
        return "内部错误" + Raw(p.detail);
    case Kind::Memory:
        return "内存不足";
    case Kind::TooLarge:
        return "图片太大, 超过 " + std::to_string(p.numbers[0] >> 20) + " MiB" + Raw(p.item);
    case Kind::Output:
        return OutputText(p);
    case Kind::DocumentTooLarge:
        return "文档超过了 PDF 文件所能容纳的 10 GB";
    case Kind::LanguageNames:
    case Kind::LanguageMissing:
    case Kind::Recognition:
        return RecognitionText(p);
    case Kind::Stopped:
        return "已停止";
    case Kind::OutputIsInput:
        return "输出文件" + Quoted(p.file) + "就是输入图片" + Quoted(p.item) +
               ", 请选择另一个输出文件";
    default:
        return FileProblemText(p);
    }
}

std::string NoteText(const folvane::PageNote &note) {
    using NoteKind = folvane::PageNote::Kind;
    switch (note.kind) {
    case NoteKind::Cropped:
        return std::to_string(OutsidePercent(note.outside)) + "% 超出页面";
    case NoteKind::Repaired:
        return "已修复损坏的 JPEG" + Raw(note.detail);
    case NoteKind::ProfileIgnored:
        return "已忽略颜色配置文件, 使用设备颜色" + Raw(note.detail);
    case NoteKind::ProfileTooNew:
        return "第 4 版 ICC 颜色配置文件写入了 PDF 1." + std::to_string(note.number) +
               ", 不支持第 4 版的阅读器显示设备颜色";
    case NoteKind::FaxReencoded:
        return "传真数据已重新编码为 G4, 原数据会被 PDF 阅读器误读" + Raw(note.detail);
    case NoteKind::SamplesReduced:
        return std::to_string(note.number) + " 位的颜色值以 8 位写入" + Raw(note.detail);
    }
    return Raw(note.detail);
}
