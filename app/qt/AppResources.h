// The program's own pictures among the embedded resources, by the resource ids the dialogs use.
#pragma once

// Tells the toolkit where they are; call once at start-up, before any window.
void registerAppResources();
