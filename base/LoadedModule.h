// A module the programs load on first use, loaded: the module's interface, or the reason it
// cannot be used as a kind with its fields. Recognition, correction and scanning load theirs
// through loadModule and word a failure themselves, each in its front end's language.
#pragma once

#include <string>

#include "base/ProgramModule.h"

namespace folvane {

enum class ModuleFailure {
    None,
    CannotLoad,    // the dynamic loader refused it; reason: its words
    WrongVersion,  // it lacks the entry point of this version (a stale or foreign file)
    FailedToStart, // its entry point gave no interface
};

template <class Module> struct LoadedModule {
    Module *module = nullptr; // lives as long as the process; null when it cannot be used
    ModuleFailure failure = ModuleFailure::None;
    std::string path;   // where it was looked for
    std::string reason; // the dynamic loader's words, for CannotLoad
};

// Opens the module at `path` and calls its entry point `entrySymbol`, a function without
// arguments returning the module's interface.
template <class Module>
LoadedModule<Module> loadModule(const std::string &path, const char *entrySymbol) {
    LoadedModule<Module> loaded;
    loaded.path = path;
    OpenedModule opened = openModule(path, entrySymbol);
    switch (opened.failure) {
    case OpenedModule::Failure::CannotLoad:
        loaded.failure = ModuleFailure::CannotLoad;
        loaded.reason = opened.reason;
        return loaded;
    case OpenedModule::Failure::NoEntry:
        loaded.failure = ModuleFailure::WrongVersion;
        return loaded;
    case OpenedModule::Failure::None:
        break;
    }
    using Entry = Module *(*)();
    loaded.module = reinterpret_cast<Entry>(opened.entry)();
    if (!loaded.module) {
        loaded.failure = ModuleFailure::FailedToStart;
    }
    return loaded;
}

} // namespace folvane
