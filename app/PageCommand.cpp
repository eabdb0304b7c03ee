#include "app/PageCommand.h"

#include "platform/ui/Translation.h"

const char *pageCommandName(PageCommandKind kind) {
    switch (kind) {
    case PageCommandKind::Add:
        return TR_NOOP("Window", "添加");
    case PageCommandKind::SortIn:
        return TR_NOOP("Window", "添加");
    case PageCommandKind::Move:
        return TR_NOOP("Window", "移动");
    case PageCommandKind::Remove:
        return TR_NOOP("Window", "删除");
    case PageCommandKind::Clear:
        return TR_NOOP("Window", "清空列表");
    case PageCommandKind::SortByName:
        return TR_NOOP("Window", "按名称排序");
    case PageCommandKind::Rotate:
        return TR_NOOP("Window", "旋转");
    case PageCommandKind::Crop:
        return TR_NOOP("Window", "裁剪");
    case PageCommandKind::SetCorners:
        return TR_NOOP("Window", "调整边角");
    case PageCommandKind::ResetEdits:
        return TR_NOOP("Window", "还原");
    case PageCommandKind::Interleave:
        return TR_NOOP("Window", "双面合并");
    }
    return "";
}
