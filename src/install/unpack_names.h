#pragma once
// Which names in a downloaded archive may be unpacked. An archive comes from
// the network, so an entry must stay inside the folder it is unpacked into:
// a name that is absolute, carries a drive letter or walks up with ".." is
// refused. Archives made on Windows write "\" between folders, and on this
// platform "..\..\x" would otherwise be one harmless-looking file name that a
// later step splits, so both "/" and "\" separate components here.

#include <optional>
#include <string>
#include <string_view>

namespace vork {

// The entry's path relative to the unpack folder, with "/" separators and
// without empty or "." components; nullopt when the name is refused or
// names nothing.
std::optional<std::string> SafeRelativePath(std::string_view name);

}  // namespace vork
