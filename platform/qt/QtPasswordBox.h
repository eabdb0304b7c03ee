// The password box of the Qt window: the request's text above a field that hides what is typed,
// and its two buttons. The password lives only in the field and in the answer.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/DialogPeer.h"

class QWidget;

std::optional<std::string> AskPasswordInBox(const PasswordRequest &request, QWidget *parent);
