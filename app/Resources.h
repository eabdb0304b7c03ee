#pragma once

#include <string>

#include "platform/ui/DialogTemplate.h"

class CMenu;

// The program's resources: dialog templates, the list's context menu and the string table.

const DialogTemplate &AboutDialogTemplate();
const DialogTemplate &MainDialogTemplate();

// Menu resource IDR_MENU_LIST: one pop-up holding the list's three commands.
void LoadListMenu(CMenu &menu);

// A string resource, empty when the table has none under id.
std::string LoadStringResource(int id);
