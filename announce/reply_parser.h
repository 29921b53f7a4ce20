// The announcement reply format. The parser knows only "}", "," and ":" and
// otherwise drops characters by position, so a JSON array of two-member
// objects without white space fits it: [{"t":"One","u":"L1"}] gives the line
// "One|L1". Malformed replies still give whatever lines these steps produce;
// the service relies on nothing stricter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovo {

// Parses a decoded reply into announcement lines, each text + "|" + link.
std::vector<std::string> ParseReply(std::string_view reply);

}  // namespace tovo
