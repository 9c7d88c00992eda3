# Embeds every file of a folder into a static library as read-only bytes,
# named by the file's stem, with a lookup table for platform::FindResourceBytes.
function(embed_resources target folder)
  file(GLOB files CONFIGURE_DEPENDS ${folder}/*)
  list(FILTER files EXCLUDE REGEX "(/README[^/]*|/LICENSE[^/]*|\\.md|\\.txt|\\.ico)$")
  list(SORT files)
  set(asm "")
  set(table "")
  set(index 0)
  foreach(file IN LISTS files)
    get_filename_component(stem ${file} NAME_WE)
    string(APPEND asm
      "    .section .rodata.tidereach_res_${index},\"a\"\n"
      "    .balign 16\n"
      "tidereach_res_${index}_begin:\n"
      "    .incbin \"${file}\"\n"
      "tidereach_res_${index}_end:\n"
      "    .byte 0\n"
      "    .globl tidereach_res_${index}_begin\n"
      "    .globl tidereach_res_${index}_end\n")
    string(APPEND table "    {\"${stem}\", tidereach_res_${index}_begin, tidereach_res_${index}_end},\n")
    string(APPEND decls "extern const std::uint8_t tidereach_res_${index}_begin[];\nextern const std::uint8_t tidereach_res_${index}_end[];\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
  set(out ${CMAKE_BINARY_DIR}/embedded)
  file(CONFIGURE OUTPUT ${out}/resources.S CONTENT "${asm}")
  file(CONFIGURE OUTPUT ${out}/resources_table.cpp CONTENT
"// Generated: the table of embedded resources.
#include <cstdint>
#include <span>
#include <string_view>

extern \"C\" {
${decls}}

namespace platform {
namespace {
struct Entry {
    std::string_view name;
    const std::uint8_t* begin;
    const std::uint8_t* end;
};
const Entry kEntries[] = {
${table}    {{}, nullptr, nullptr},
};
}  // namespace

std::span<const std::uint8_t> FindResourceBytes(std::string_view name) {
    for (const Entry& entry : kEntries)
        if (entry.begin != nullptr && entry.name == name)
            return {entry.begin, entry.end};
    return {};
}
}  // namespace platform
" @ONLY)
  set_source_files_properties(${out}/resources.S PROPERTIES OBJECT_DEPENDS "${files}")
  add_library(${target} STATIC ${out}/resources.S ${out}/resources_table.cpp)
endfunction()
