#pragma once
// Where the running course lives: the "program path" is the executable's own
// path, or the image file's path when the player runs with --image FILE. The
// settings .ini, the .vka archives and update parts, the media and users
// directories and the single-instance name are all found beside it and named
// after it. Start-up sets it once; everything else reads it.

#include <string>

namespace vork {

// Sets the program path (made absolute). Until it is called, the path of the
// running executable is used.
void SetProgramPath(const std::string& path);

// The absolute program path, with "/" separators.
const std::string& ProgramPath();
// The folder holding the program path, without a trailing "/".
std::string ProgramDirectory();
// The file name of the program path without folder and extension.
std::string ProgramName();
// The program path without its extension (the folder is kept).
std::string ProgramPathWithoutExtension();

// Helpers on "/"-separated paths, shared by the functions above and by code
// that names files after other files. An extension is the part of the last
// component from its last "." on ("" when it has none).
std::string DirectoryOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string ExtensionOf(const std::string& path);
std::string WithoutExtension(const std::string& path);

}  // namespace vork
