#pragma once

#include <string>

#include "platform/ui/DialogTemplate.h"

class CMenu;

// The program's resources: dialog templates, the list's context menu and the string table, each
// in the window's language. The texts are written in the original Chinese, which is also the
// layout's language: under a translation the main window and the About box are laid out wider.

DialogTemplate AboutDialogTemplate();
DialogTemplate MainDialogTemplate();

// Menu resource IDR_MENU_LIST: one pop-up holding the list's three commands.
void LoadListMenu(CMenu &menu);

// A string resource, empty when the table has none under id.
std::string LoadStringResource(int id);
