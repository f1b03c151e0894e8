#pragma once
// The user's data folder for Quarvel, after the XDG rule: what the program
// keeps for the user alone (backups, session journals) goes under it.
#include <string>
#include <string_view>

namespace quarvel::documents {

// $XDG_DATA_HOME/Quarvel when that is an absolute path (a relative one is
// ignored), else ~/.local/share/Quarvel from `casa` (HOME); empty without
// either.
std::string pasta_dados(std::string_view dados_xdg, std::string_view casa);

} // namespace quarvel::documents
