# libtamvel.so: the library sources on the Linux stand-in. Included from cmake/Sources.cmake
# after the library targets exist.

# A version script generated from the public headers makes the export table exactly the
# declared calls: hidden visibility keeps our own symbols in, but the C++ library's template
# instances (typeinfo, guard variables) would otherwise still be exported.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB TAMVEL_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/*.h)
set(TAMVEL_VERSION_SCRIPT ${PROJECT_BINARY_DIR}/tamvel.map)
add_custom_command(
  OUTPUT ${TAMVEL_VERSION_SCRIPT}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/ci/gen-def.py
          --style version-script -o ${TAMVEL_VERSION_SCRIPT} ${TAMVEL_PUBLIC_HEADERS}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/ci/gen-def.py ${PROJECT_SOURCE_DIR}/tools/header_calls.py
          ${TAMVEL_PUBLIC_HEADERS}
  COMMENT "Generating tamvel.map from include/"
  VERBATIM)
add_custom_target(tamvel_version_script DEPENDS ${TAMVEL_VERSION_SCRIPT})
add_dependencies(tamvel tamvel_version_script)
target_link_options(tamvel PRIVATE -Wl,--version-script=${TAMVEL_VERSION_SCRIPT})
set_target_properties(tamvel PROPERTIES LINK_DEPENDS ${TAMVEL_VERSION_SCRIPT})
