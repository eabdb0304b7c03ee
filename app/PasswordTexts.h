// The texts of the password dialog "加密" and of what it refuses.
#pragma once

#include "platform/ui/Translation.h"

namespace folvane::app::texts {

inline constexpr const char *kPasswordCaption = TR_NOOP("Password", "加密");
inline constexpr const char *kPasswordIntro =
    TR_NOOP("Password", "PDF 用 AES-256 加密, 只有输入密码才能打开。密码不会被保存。");
inline constexpr const char *kUserPasswordLabel = TR_NOOP("Password", "打开密码:");
inline constexpr const char *kConfirmPasswordLabel = TR_NOOP("Password", "确认打开密码:");
inline constexpr const char *kOwnerPasswordLabel = TR_NOOP("Password", "所有者密码:");
inline constexpr const char *kOwnerPasswordHint =
    TR_NOOP("Password", "可不填: 用所有者密码打开时不受下面的限制");
inline constexpr const char *kAllowPrinting = TR_NOOP("Password", "允许打印");
inline constexpr const char *kAllowCopying = TR_NOOP("Password", "允许复制文字和图片");
inline constexpr const char *kPasswordOk = TR_NOOP("Password", "确定");
inline constexpr const char *kPasswordCancel = TR_NOOP("Password", "取消");

// Why the passwords given cannot lock the PDF.
inline constexpr const char *kPasswordEmpty = TR_NOOP("Password", "请输入打开密码。");
inline constexpr const char *kPasswordMismatch = TR_NOOP("Password", "两次输入的打开密码不一致。");
inline constexpr const char *kPasswordTooLong =
    TR_NOOP("Password", "密码太长: 最多 127 字节（约 42 个汉字）。");
inline constexpr const char *kPasswordControl = TR_NOOP("Password", "密码不能含有控制字符。");
inline constexpr const char *kPasswordSame = TR_NOOP("Password", "所有者密码必须与打开密码不同。");

} // namespace folvane::app::texts
