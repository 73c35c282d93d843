# Compiler and linker flags for Release builds, the ones that become the
# Debian package. Included from the top level before any target exists, so
# that every object, the generated moc and resource code included, gets them.

# Debian's usual hardening: fortified libc calls, stack protector, read-only
# relocations resolved at start-up. Position-independent code comes from Qt.
add_compile_options(
    "$<$<CONFIG:Release>:-D_FORTIFY_SOURCE=2;-fstack-protector-strong;-Wformat;-Werror=format-security>")
add_link_options("$<$<CONFIG:Release>:LINKER:-z,relro;LINKER:-z,now>")

# No build path may end up in the binary, or two builds of one commit in two
# folders would differ (and so would the build ID hashed over them). Without
# debug information nothing records one today; the map keeps it so when -g or
# a __FILE__ comes in.
add_compile_options(
    "$<$<CONFIG:Release>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=;-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
