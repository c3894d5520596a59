#pragma once

// Which file a run works on when the host is a legacy Windows program. Windows does not let such a
// program (32-bit, no manifest, no administrator rights) write into Program Files, ProgramData or
// the Windows folder: it silently redirects the writes to a twin of the path under the user's
// %LOCALAPPDATA%\VirtualStore and lets the program (and a legacy compiler) read the twin wherever
// one exists. aplpatch is never redirected, so it looks for the twin itself.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace aplpatch {

// The environment variables whose folders Windows redirects, and the one that holds the twins.
inline constexpr std::string_view kRedirectedFolderVariables[] = {"ProgramFiles", "ProgramW6432",
                                                                  "ProgramFiles(x86)", "ProgramData", "SystemRoot"};
inline constexpr std::string_view kLocalAppDataVariable = "LOCALAPPDATA";

// The values of those variables; an empty value stands for one that is not set.
struct RedirectionEnvironment {
  std::vector<std::string> redirectedFolders;
  std::string localAppData;
};

// The file a run opens, backs up and replaces, and why when that is not the script as given.
struct ScriptFile {
  std::string path;
  std::string reason;  // one line; empty when `path` is the script as given
};

// The twin of `fullPath` when that lies under one of the redirected folders (compared without
// regard to ASCII case, by whole path components; "/" counts as "\" and "\\?\C:\" as "C:\"):
// %LOCALAPPDATA%\VirtualStore\ followed by the path without its drive. Nothing when it lies
// elsewhere or LOCALAPPDATA is not set.
std::optional<std::string> virtualStoreTwin(std::string_view fullPath, const RedirectionEnvironment& environment);

// The twin when one is there and either no file is at the script or the twin was last written no
// earlier than the script (a host run as administrator writes the script itself, which is then the
// newer); otherwise the script as given. `fullPath` names the script in the reason.
ScriptFile chooseScriptFile(const std::string& script, std::string_view fullPath, const std::string& twin,
                            const FileStamp& atScript, const FileStamp& atTwin);

// The file a run on `script` (as the host gave it) works on, as the two functions above decide it
// from what the platform tells. Where the system redirects nothing, the script as given, without
// asking anything more.
ScriptFile scriptFileToWorkOn(Platform& platform, const std::string& script);

}  // namespace aplpatch
