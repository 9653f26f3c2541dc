# korvex48_embed(<target> <function> <file>...)
# Adds to <target> the bytes of each file and a lookup function
#   std::span<const std::uint8_t> <function>(std::string_view name)
# where name is the file name without folders; an unknown name gives an empty span.
function(korvex48_embed target function)
  set(gen_dir "${CMAKE_CURRENT_BINARY_DIR}/embed_${target}")
  set(sources "")
  set(decls "")
  set(entries "")
  foreach(path IN LISTS ARGN)
    get_filename_component(name "${path}" NAME)
    string(MAKE_C_IDENTIFIER "embed_${target}_${name}" symbol)
    set(out "${gen_dir}/${symbol}.cpp")
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -DIN=${path} -DOUT=${out} -DSYMBOL=${symbol}
              -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
      DEPENDS "${path}" "${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake"
      VERBATIM)
    list(APPEND sources "${out}")
    string(APPEND decls "extern const std::uint8_t ${symbol}_data[];\nextern const std::size_t ${symbol}_size;\n")
    string(APPEND entries "    {\"${name}\", ${symbol}_data, ${symbol}_size},\n")
  endforeach()
  set(index "${gen_dir}/${function}_index.cpp")
  file(WRITE "${index}.in"
    "// Generated; do not edit.\n#include <cstddef>\n#include <cstdint>\n#include <span>\n#include <string_view>\n"
    "${decls}"
    "namespace {\nstruct Entry { std::string_view name; const std::uint8_t* data; std::size_t size; };\n"
    "const Entry kEntries[] = {\n${entries}};\n}  // namespace\n"
    "std::span<const std::uint8_t> ${function}(std::string_view name) {\n"
    "  for (const Entry& e : kEntries)\n    if (e.name == name) return {e.data, e.size};\n  return {};\n}\n")
  file(COPY_FILE "${index}.in" "${index}" ONLY_IF_DIFFERENT)
  target_sources(${target} PRIVATE ${sources} "${index}")
endfunction()
