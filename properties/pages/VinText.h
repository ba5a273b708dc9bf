#pragma once
// The character rules of the VIN page: letters a VIN never holds, the
// make-order counter with its carry, the single-digit steps, and parts
// written into the 17-character code by position.
#include <cstddef>
#include <string>

// A part holding 'I', 'O' or 'Q' (either case) is refused.
bool HasRefusedVinLetter(const std::string& part);
// Upper-cases ASCII letters in place.
void UpperVin(std::string& part);
// One up or down on the six-character make order: digits count 0..9,
// upper-case letters A..Z and lower-case letters a..z, each wrapping and
// carrying (or borrowing) one to its left; any other character stops the
// carry. "999999" does not go up and "000000" not down. True when it changed.
bool StepMakeOrder(std::string& order, bool up);
// "0".."9" wrapping; anything but one digit stays. True when it changed.
bool StepVinDigit(std::string& digit, bool up);
// Writes the part's characters into the code from position `at` on, never
// past the code's end (a code of the wrong length is left short).
void PutVinPart(std::string& code, std::size_t at, const std::string& part);
