# cmake -DIN=FILE -DOUT=FILE.cpp -P embed_text.cmake
# Writes a C++ source whose BuiltInDeclarationText() returns the bytes of IN,
# so that the compiler needs no file beside it.
file(READ ${IN} content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
file(WRITE ${OUT}.tmp
  "// Generated from ${IN}; do not edit.\n"
  "#include \"vkc/declarations.h\"\n"
  "namespace vork {\n"
  "namespace {\n"
  "const char kText[] = {${bytes}0};\n"
  "}  // namespace\n"
  "std::string_view BuiltInDeclarationText() { return {kText, sizeof(kText) - 1}; }\n"
  "}  // namespace vork\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
