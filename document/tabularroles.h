#pragma once

#include "document/tabulartable.h"

#include <optional>
#include <string>
#include <string_view>

// How a table's header names its columns' roles: the names each role goes by, in order of
// preference, and the point columns of a formant measured at several points. Pure text
// rules, shared by the reader and the content check that tells a table from a Formant file.

// The name as compared: lower case, without a unit in brackets ("F1 (Hz)", "F1[Hz]") and
// without the separators " _.-". "Speaker_ID" -> "speakerid".
std::string TabularHeaderKey(std::string_view name);

// Where the header name stands in the role's list of names (0 = most preferred), or
// nullopt when it is not one of them. Formants go by "F1" and "F1_Hz"; the speaker by
// "speaker", "talker", "subject", "participant", "spk", each also followed by "id",
// "name" or "code".
std::optional<int> TabularRoleRank(TabularRole role, std::string_view name);

// "F1_20", "F1.50", "F1-80", "F1 @ 50%", "F2_mid": formant and point in percent ("mid" and
// "middle" are 50). nullopt for any other name, a plain "F1" included.
std::optional<TabularPointColumn> ParseTabularPoint(std::string_view name);

// "vowel", "speaker", "F0" ... "F5".
const char *TabularRoleName(TabularRole role);
