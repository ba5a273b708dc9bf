#pragma once
// The hexadecimal text of a port address or of a word written to a port, as
// the settings dialogs show and take it.
#include <cstdint>
#include <string>

// The value as "%04X" (four upper-case digits, more when larger). Returns 1.
int FormatPortHex(std::uint32_t value, std::string& text);

// Parses upper-case hexadecimal text. With isAddress a text of more than 6
// characters is "Address is too long!", otherwise more than 10 is "Write data
// too long!"; a character other than 0-9 and A-F is "Address error!". The
// message is shown and 0 returned; on success value is set and 1 returned.
// An empty text is no address at all and is refused as "Address error!"; so
// is a value that does not fit the 32 bits it is stored in.
int ParseHexPort(std::uint32_t& value, const std::string& text, bool isAddress);
