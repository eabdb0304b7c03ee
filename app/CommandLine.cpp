#include "app/CommandLine.h"

#include "app/WindowTexts.h"
#include "platform/ui/Translation.h"

namespace {

// The usage, written in the window's source language like every text of the window.
constexpr const char *kHelp = TR_NOOP("CommandLine", R"(用法: folvane [文件|文件夹...]

打开 Folvane 窗口: 一份有序的页面图片列表 (JPEG、TIFF、PNG), 每张图片
所成页面的预览, 以及把它们写成一份 PDF 的"生成PDF"。给出的文件按给出的
顺序组成开始时的列表; 文件夹给出其中的图片文件, 按名称排序。文件管理器的
"打开方式"就是这样启动它的。

选项:
  -h, --help      显示本说明
      --version   显示版本
  --              其后的一切都是文件, 以 '-' 开头的名称也是

folvane-pdf(1) 在命令行上生成同样的 PDF。
)");

bool isOption(const std::string &argument) {
    return argument.size() > 1 && argument[0] == '-';
}

} // namespace

CommandLine readCommandLine(const std::vector<std::string> &arguments) {
    CommandLine line;
    for (const std::string &argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (argument == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
    }
    bool onlyFiles = false;
    for (const std::string &argument : arguments) {
        if (!onlyFiles && argument == "--") {
            onlyFiles = true;
        } else if (!onlyFiles && isOption(argument)) {
            return CommandLine{CommandLine::Action::Wrong, {}, argument};
        } else {
            line.files.push_back(argument);
        }
    }
    return line;
}

std::string helpText() {
    return Tr("CommandLine", kHelp);
}

std::string versionText() {
    return std::string("folvane ") + FOLVANE_VERSION + "\n";
}

std::string wrongText(const std::string &argument) {
    return folvane::app::texts::fill(
        Tr("CommandLine", "folvane: 未知选项 %1\n用 'folvane --help' 查看用法。\n"), {argument});
}
