#include "batch/ReportModule.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace zlm {

namespace {

// The module's file name and entry points, as report/module/ReportModuleEntry.cpp exports them.
constexpr const char* kModuleFile = "libzlm-report.so";
constexpr const char* kVersionEntry = "ZlmReportModuleVersion";
constexpr const char* kCreateEntry = "ZlmCreateReportWriter";

using VersionFunction = const char* (*)();
using CreateFunction = ReportWriter* (*)(const char*);

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::string DlError()
{
    const char* text = ::dlerror();
    return text != nullptr ? std::string(text) : std::string("unknown error");
}

/** The writer of the module at `path`, or why it cannot be had; the library is never unloaded (unused in builds without reports). */
[[maybe_unused]] LoadedReportWriter LoadFrom(const std::string& path)
{
    LoadedReportWriter loaded;
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        loaded.message = "the report module " + path + " could not be loaded: " + DlError();
        return loaded;
    }
    const auto version = reinterpret_cast<VersionFunction>(::dlsym(library, kVersionEntry));
    const auto create = reinterpret_cast<CreateFunction>(::dlsym(library, kCreateEntry));
    if (version == nullptr || create == nullptr) {
        loaded.message = "the report module " + path + " is not a ZLM report module";
    } else if (std::string(version()) != ZLM_VERSION) {
        loaded.message = "the report module " + path + " is of ZLM " + version() + ", not of ZLM " ZLM_VERSION;
    } else {
        loaded.writer.reset(create(ZLM_VERSION));
        if (!loaded.writer)
            loaded.message = "the report module " + path + " made no report writer";
    }
    // A module that gave no writer is left loaded too: unloading a library that
    // started Qt's machinery is not safe, and the process ends soon anyway.
    return loaded;
}

} // namespace

std::vector<std::string> ReportModuleFolders()
{
    std::vector<std::string> folders;
    if (const char* overrides = std::getenv("ZLM_PLUGIN_PATH"); overrides != nullptr) {
        const std::string list(overrides);
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            if (end > start)
                folders.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    const std::filesystem::path program = ProgramFolder();
    if (!program.empty())
        folders.push_back((program / "zlm-plugins").string());
#ifdef ZLM_PLUGIN_INSTALL_PATH
    folders.push_back(ZLM_PLUGIN_INSTALL_PATH);
#endif
#ifdef ZLM_PLUGIN_RELATIVE_PATH
    if (!program.empty()) {
        const std::string beside = (program / ZLM_PLUGIN_RELATIVE_PATH).lexically_normal().string();
        if (std::find(folders.begin(), folders.end(), beside) == folders.end())
            folders.push_back(beside);
    }
#endif
    return folders;
}

LoadedReportWriter LoadReportWriter(const std::vector<std::string>& folders)
{
#ifndef ZLM_HAS_REPORT
    (void)folders;
    return {nullptr, "reports are not available in this build (it was made without the graph)"};
#else
    std::string firstFailure;
    std::string searched;
    for (const std::string& folder : folders) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / kModuleFile;
        searched += (searched.empty() ? "" : ", ") + folder;
        std::error_code error;
        if (!std::filesystem::is_regular_file(candidate, error))
            continue;
        LoadedReportWriter loaded = LoadFrom(candidate.string());
        if (loaded.writer)
            return loaded;
        if (firstFailure.empty())
            firstFailure = loaded.message;
    }
    if (!firstFailure.empty())
        return {nullptr, "reports are not available: " + firstFailure};
    return {nullptr, std::string("reports are not available: the report module ") + kModuleFile + " was not found in " +
                         (searched.empty() ? std::string("any folder") : searched) +
                         " (install it beside zlm-batch, or name its folder in ZLM_PLUGIN_PATH)"};
#endif
}

} // namespace zlm
