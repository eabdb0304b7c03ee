#pragma once

#include "platform/ui/DialogTemplate.h"

// "文档属性": the document's title, author, subject and keywords, each a line of text, and
// "确定" and "取消"; captions in the window's language.
DialogTemplate propertiesDialogTemplate();
