#include "app/Messages.h"

#include <cstring>

#include "app/CutPages.h"
#include "app/WindowTexts.h"
#include "pdf/QuotedName.h"
#include "platform/ui/Translation.h"

namespace {

using Kind = folvane::Problem::Kind;
using folvane::app::texts::fill;

// The library's own words, in parentheses after the window's sentence.
std::string raw(const std::string &words) {
    return words.empty() ? std::string() : fill(Tr("Messages", "（%1）"), {words});
}

// JPEG, TIFF and PNG as "JPEG、TIFF 或 PNG".
std::string formatList(const std::vector<std::string> &names) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            list += i + 1 == names.size() ? Tr("Messages", " 或 ") : Tr("Messages", "、");
        }
        list += names[i];
    }
    return list;
}

std::string fileProblemText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::CannotOpen:
        return fill(Tr("Messages", "无法打开文件“%1”%2"), {p.file, raw(p.detail)});
    case Kind::CannotRead:
        return fill(Tr("Messages", "无法读取文件“%1”%2"), {p.file, raw(p.detail)});
    case Kind::NotAnImage:
        return fill(p.numbers[0] ? Tr("Messages", "“%1”不是 %2 图片（文件是空的）")
                                 : Tr("Messages", "“%1”不是 %2 图片"),
                    {p.file, formatList(p.formats)});
    case Kind::Damaged:
        return fill(Tr("Messages", "“%1”不是完好的 %2 文件%3"),
                    {p.file, p.format.empty() ? Tr("Messages", "图片") : p.format, raw(p.detail)});
    case Kind::Truncated:
        return fill(Tr("Messages", "“%1”不完整, 文件提前结束%2"), {p.file, raw(p.item)});
    case Kind::Unsupported:
        return fill(Tr("Messages", "“%1”这种图片无法放入PDF%2"), {p.file, raw(p.detail)});
    case Kind::TooManyPixels:
        return fill(Tr("Messages", "“%1”有 %2 x %3 像素, 超过 PDF 阅读器能显示的每边 %4 像素"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1]),
                     std::to_string(folvane::kMaxPictureSide)});
    case Kind::JpegTooLarge:
        return fill(Tr("Messages", "“%1”有 %2 x %3 像素, 超过 JPEG 解码器能读的每边 %4 像素"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1]),
                     std::to_string(folvane::kMaxJpegSide)});
    case Kind::DataTooShort:
        return fill(Tr("Messages", "“%1”声称有 %2 像素, 但它的 %3 字节图像数据容纳不下"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1])});
    case Kind::NotAFile:
        return fill(Tr("Messages", "“%1”不是普通文件（而是管道、设备或套接字）"), {p.file});
    case Kind::NoSuchPage:
        return fill(Tr("Messages", "“%1”没有第 %2 页（共 %3 页）"),
                    {p.file, std::to_string(p.numbers[0]), std::to_string(p.numbers[1])});
    case Kind::PdfPasswordNeeded:
        return fill(Tr("Messages", "“%1”已加密, 需要密码才能打开"), {p.file});
    case Kind::PdfWrongPassword:
        return fill(Tr("Messages", "密码不对, 无法打开“%1”"), {p.file});
    case Kind::PdfDamaged:
        return fill(Tr("Messages", "“%1”是损坏的 PDF, 无法读取%2"), {p.file, raw(p.detail)});
    default:
        return fill(Tr("Messages", "内部错误%1"), {raw(p.detail)});
    }
}

std::string outputText(const folvane::Problem &p) {
    const std::vector<std::string> fields = {p.file, raw(p.detail)};
    if (p.item == "create") {
        return fill(Tr("Messages", "无法创建文件“%1”%2"), fields);
    }
    if (p.item == "flush") {
        return fill(Tr("Messages", "无法把文件“%1”写入磁盘%2"), fields);
    }
    if (p.item == "rename") {
        return fill(Tr("Messages", "无法把完成的文件改名为“%1”%2"), fields);
    }
    return fill(Tr("Messages", "无法写入文件“%1”%2"), fields);
}

std::string recognitionModuleText(const folvane::Problem &p) {
    switch (p.module) {
    case folvane::Problem::ModuleFailure::CannotLoad:
        return fill(Tr("Messages", "无法加载文字识别引擎模块 %1%2"), {p.item, raw(p.detail)});
    case folvane::Problem::ModuleFailure::WrongVersion:
        return fill(Tr("Messages", "%1 不是这个版本的文字识别引擎模块"), {p.item});
    default:
        return fill(Tr("Messages", "文字识别引擎模块 %1 无法启动"), {p.item});
    }
}

std::string recognitionText(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::LanguageNames:
        return fill(Tr("Messages", "文字识别: “%1”不是用“+”连接的语言名称（例如 chi_sim+eng）"),
                    {p.item});
    case Kind::LanguageMissing:
        return fill(Tr("Messages", "文字识别: 语言“%1”的数据没有安装, 请安装 Debian 软件包 %2"),
                    {p.item, p.detail});
    case Kind::LanguageData:
        return fill(Tr("Messages", "文字识别: 无法从 %2 加载语言“%1”的数据"), {p.item, p.detail});
    case Kind::RecognitionModule:
        return recognitionModuleText(p);
    default:
        if (p.numbers[0] > 0) {
            return fill(
                Tr("Messages", "文字识别在一页 %1 x %2 像素的图片上失败%3"),
                {std::to_string(p.numbers[0]), std::to_string(p.numbers[1]), raw(p.detail)});
        }
        return fill(Tr("Messages", "文字识别失败%1"), {raw(p.detail)});
    }
}

std::string problemSentence(const folvane::Problem &p) {
    switch (p.kind) {
    case Kind::None:
    case Kind::Internal:
    case Kind::Call:
        return fill(Tr("Messages", "内部错误%1"), {raw(p.detail)});
    case Kind::Memory:
        return Tr("Messages", "内存不足");
    case Kind::TooLarge:
        return fill(Tr("Messages", "图片太大, 超过 %1 MiB%2"),
                    {std::to_string(p.numbers[0] >> 20), raw(p.item)});
    case Kind::Output:
        return outputText(p);
    case Kind::DocumentTooLarge:
        return Tr("Messages", "文档超过了 PDF 文件所能容纳的 10 GB");
    case Kind::LanguageNames:
    case Kind::LanguageMissing:
    case Kind::Recognition:
    case Kind::RecognitionModule:
    case Kind::LanguageData:
        return recognitionText(p);
    case Kind::Stopped:
        return Tr("Messages", "已停止");
    case Kind::OutputIsInput:
        return fill(Tr("Messages", "输出文件“%1”就是输入图片“%2”, 请选择另一个输出文件"),
                    {p.file, p.item});
    case Kind::EveryPageBlank:
        return fill(Tr("Messages", "每一页都是空白页（跳过了 %1 页）, 没有生成“%2”"),
                    {std::to_string(p.numbers[0]), p.file});
    default:
        return fileProblemText(p);
    }
}

} // namespace

std::string problemText(const folvane::Problem &p) {
    return problemSentence(folvane::withQuotedNames(p));
}

namespace {

std::string notCorrectedText(const folvane::PageNote &note) {
    switch (note.number) {
    case folvane::PageNote::kCorrectionOutOfMemory:
        return Tr("Messages", "内存不足, 无法校正这一页, 按原样放入");
    case folvane::PageNote::kCornersMakeNoSheet:
        return fill(Tr("Messages", "手动调整的边角构不成一张纸, 按原样放入%1"), {raw(note.detail)});
    case folvane::PageNote::kModuleCannotLoad:
        return fill(Tr("Messages", "无法加载文档校正模块, 按原样放入%1"), {raw(note.detail)});
    case folvane::PageNote::kModuleUnusable:
        return fill(Tr("Messages", "%1 不是这个版本的文档校正模块, 按原样放入"), {note.detail});
    default:
        return fill(Tr("Messages", "无法校正这一页, 按原样放入%1"), {raw(note.detail)});
    }
}

} // namespace

std::string noteText(const folvane::PageNote &note) {
    using NoteKind = folvane::PageNote::Kind;
    switch (note.kind) {
    case NoteKind::Cropped:
        return fill(Tr("Messages", "%1% 超出页面"), {std::to_string(outsidePercent(note.outside))});
    case NoteKind::Repaired:
        return fill(Tr("Messages", "已修复损坏的 JPEG%1"), {raw(note.detail)});
    case NoteKind::ProfileIgnored:
        return fill(Tr("Messages", "已忽略颜色配置文件, 使用设备颜色%1"), {raw(note.detail)});
    case NoteKind::ProfileTooNew:
        return fill(Tr("Messages", "第 4 版 ICC 颜色配置文件写入了 PDF 1.%1, "
                                   "不支持第 4 版的阅读器显示设备颜色"),
                    {std::to_string(note.number)});
    case NoteKind::FaxReencoded:
        return fill(Tr("Messages", "传真数据已重新编码为 G4, 原数据会被 PDF 阅读器误读%1"),
                    {raw(note.detail)});
    case NoteKind::SamplesReduced:
        return fill(Tr("Messages", "%1 位的颜色值以 8 位写入%2"),
                    {std::to_string(note.number), raw(note.detail)});
    case NoteKind::SheetNotFound:
        return note.number == 2 ? Tr("Messages", "照片中有两张纸, 照片按原样放入")
                                : Tr("Messages", "照片中没有找到纸张, 照片按原样放入");
    case NoteKind::NotCorrected:
        return notCorrectedText(note);
    case NoteKind::PdfRecovered:
        return fill(Tr("Messages", "“%1”是损坏的 PDF, 已尽量读出%2"),
                    {note.path, raw(note.detail)});
    }
    return raw(note.detail);
}

std::string setProblemText(const folvane::SetProblem &p) {
    const std::string why = p.error != 0 ? raw(std::strerror(p.error)) : std::string();
    switch (p.kind) {
    case folvane::SetProblem::Kind::TargetIsFolder:
        return fill(Tr("Messages", "“%1”是一个文件夹, 不能保存为文件"), {p.path});
    case folvane::SetProblem::Kind::TargetNotWritable:
        return fill(Tr("Messages", "“%1”已存在且您无权修改它, 不会替换它"), {p.path});
    case folvane::SetProblem::Kind::CannotCreateFolder:
        return fill(Tr("Messages", "无法在文件夹“%1”中创建临时文件夹%2"), {p.path, why});
    case folvane::SetProblem::Kind::CannotKeepOld:
        return fill(Tr("Messages", "保存前无法保留原有的“%1”%2"), {p.path, why});
    case folvane::SetProblem::Kind::CannotPutInPlace:
        return fill(Tr("Messages", "无法保存“%1”%2"), {p.path, why});
    }
    return p.path;
}
