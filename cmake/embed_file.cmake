# Turns a binary file into a C++ source that defines
#   std::span<const std::uint8_t> NAMESPACE::FUNCTION()
# returning the file's bytes, regenerated whenever the file changes.
function(embed_file input output namespace function)
  file(READ ${input} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
  set(content "// Made by the build from ${input}.\n#include <cstdint>\n#include <span>\n\nnamespace ${namespace} {\nnamespace {\nconstexpr std::uint8_t kBytes[] = {\n    ${bytes}\n};\n}  // namespace\n\nstd::span<const std::uint8_t> ${function}() { return kBytes; }\n\n}  // namespace ${namespace}\n")
  file(CONFIGURE OUTPUT ${output} CONTENT "${content}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()
