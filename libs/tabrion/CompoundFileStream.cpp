#include "libs/tabrion/CompoundFileStream.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

namespace tabrion {
namespace {

constexpr gsf_off_t kMaxStreamSize = 256 * 1024 * 1024;

// Drops a GObject reference at the end of a scope.
template <typename T>
struct Ref {
  T* p = nullptr;
  ~Ref() {
    if (p) g_object_unref(p);
  }
};

std::optional<std::vector<std::uint8_t>> ReadFrom(GsfInput* input) {
  PrepareWorkbookStreamReading();
  GError* error = nullptr;
  Ref<GsfInfile> file{gsf_infile_msole_new(input, &error)};
  if (error) g_error_free(error);
  if (!file.p) return std::nullopt;
  Ref<GsfInput> stream;
  for (const char* name : {"Workbook", "WORKBOOK", "Book"})
    if (!stream.p) stream.p = gsf_infile_child_by_name(file.p, name);
  if (!stream.p) return std::nullopt;
  // A stream is stored whole inside the file: a larger size is a damaged directory.
  gsf_off_t size = gsf_input_size(stream.p);
  if (size < 0 || size > kMaxStreamSize || size > gsf_input_size(input)) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t n = std::min<std::size_t>(bytes.size() - done, 1 << 20);
    if (!gsf_input_read(stream.p, n, bytes.data() + done)) return std::nullopt;
    done += n;
  }
  return bytes;
}

}  // namespace

void PrepareWorkbookStreamReading() {
  static const bool prepared = [] {
    gsf_init();
    for (GType type : {GSF_INFILE_MSOLE_TYPE, GSF_INPUT_STDIO_TYPE, GSF_INPUT_MEMORY_TYPE})
      g_type_class_unref(g_type_class_ref(type));
    return true;
  }();
  (void)prepared;
}

std::optional<std::vector<std::uint8_t>> ReadWorkbookStream(const std::string& path) {
  GError* error = nullptr;
  Ref<GsfInput> input{gsf_input_stdio_new(path.c_str(), &error)};
  if (error) g_error_free(error);
  if (!input.p) return std::nullopt;
  return ReadFrom(input.p);
}

std::optional<std::vector<std::uint8_t>> ReadWorkbookStream(const std::uint8_t* data, std::size_t size) {
  Ref<GsfInput> input{gsf_input_memory_new(data, static_cast<gsf_off_t>(size), FALSE)};
  if (!input.p) return std::nullopt;
  return ReadFrom(input.p);
}

}  // namespace tabrion
