#pragma once
// A read worksheet (result, used range and texts) as bytes, for passing it
// from the child process that read it back to the caller. Decoding checks
// every length: a child that went wrong cannot make the caller misread.
#include <string>
#include <string_view>

#include "libs/tabrion/LoadedSheet.h"

namespace tabrion {

std::string EncodeSheet(ReadResult result, const LoadedSheet& sheet);
// False when the bytes are not a whole, sound message.
bool DecodeSheet(std::string_view bytes, ReadResult& result, LoadedSheet& sheet);

}  // namespace tabrion
