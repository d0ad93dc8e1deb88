# Every subsystem is one folder; its sources are picked up by folder so that adding a file
# never means editing a list.
file(GLOB_RECURSE TAMVEL_LIBRARY_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/*.cpp)

if(WIN32)
  set(TAMVEL_PLATFORM_SOURCES)
else()
  file(GLOB_RECURSE TAMVEL_PLATFORM_SOURCES CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/platform/posix/*.cpp)
endif()
file(GLOB_RECURSE TAMVEL_EMF_FORMAT_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/platform/emf/*.cpp)

if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TAMVEL_DEPS REQUIRED IMPORTED_TARGET cairo fontconfig freetype2)
endif()

# The EMF format (record layouts, encoder helpers, decoder): plain code on every platform.
if(TAMVEL_EMF_FORMAT_SOURCES)
  add_library(tamvel_emf_format STATIC ${TAMVEL_EMF_FORMAT_SOURCES})
  target_include_directories(tamvel_emf_format PUBLIC ${PROJECT_SOURCE_DIR})
else()
  add_library(tamvel_emf_format INTERFACE)
  target_include_directories(tamvel_emf_format INTERFACE ${PROJECT_SOURCE_DIR})
endif()

# All library code once, shared by libtamvel.so / tamvel.dll and by the tests, which reach
# the hidden internals by linking the objects statically.
add_library(tamvel_objects OBJECT ${TAMVEL_LIBRARY_SOURCES} ${TAMVEL_PLATFORM_SOURCES})
target_include_directories(tamvel_objects PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tamvel_objects PUBLIC tamvel_emf_format)
if(NOT WIN32)
  target_link_libraries(tamvel_objects PUBLIC PkgConfig::TAMVEL_DEPS)
endif()

add_library(tamvel_static STATIC $<TARGET_OBJECTS:tamvel_objects>)
target_link_libraries(tamvel_static PUBLIC tamvel_objects)

add_library(tamvel SHARED $<TARGET_OBJECTS:tamvel_objects>)
target_link_libraries(tamvel PRIVATE tamvel_emf_format)
target_include_directories(tamvel PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>)
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/Windows.cmake OPTIONAL)
else()
  target_link_libraries(tamvel PRIVATE PkgConfig::TAMVEL_DEPS)
  target_link_options(tamvel PRIVATE -Wl,--no-undefined)
  # libtamvel.so.0.1.0: the file name carries the project version, the soname its major number.
  set_target_properties(tamvel PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  include(${PROJECT_SOURCE_DIR}/cmake/Linux.cmake)
endif()

if(NOT WIN32)
  file(GLOB_RECURSE TAMVEL_TOOL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/tamvel/*.cpp)
  if(TAMVEL_TOOL_SOURCES)
    add_executable(tamvel_tool ${TAMVEL_TOOL_SOURCES})
    set_target_properties(tamvel_tool PROPERTIES OUTPUT_NAME tamvel)
    target_link_libraries(tamvel_tool PRIVATE tamvel_static)
    target_compile_definitions(tamvel_tool PRIVATE TAMVEL_VERSION="${PROJECT_VERSION}")
  endif()
endif()

file(GLOB TAMVEL_EXAMPLES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.c)
if(WIN32)
  list(FILTER TAMVEL_EXAMPLES EXCLUDE REGEX "/desktop\\.c$")  # the Linux desktop calls
endif()
foreach(example ${TAMVEL_EXAMPLES})
  get_filename_component(name ${example} NAME_WE)
  add_executable(${name} ${example})
  target_link_libraries(${name} PRIVATE tamvel m)
endforeach()

# The programs of docs/getting-started.md, built against this tree for the tests (CI builds
# them against an installed copy, as the guide does). The Fortran one is in Fortran.cmake.
set(TAMVEL_GUIDE ${PROJECT_SOURCE_DIR}/examples/getting-started)
add_executable(first_page_c ${TAMVEL_GUIDE}/first_page.c)
target_link_libraries(first_page_c PRIVATE tamvel m)
add_executable(first_page_cpp ${TAMVEL_GUIDE}/first_page.cpp)
target_link_libraries(first_page_cpp PRIVATE tamvel)
if(NOT WIN32)
  add_executable(render_page ${TAMVEL_GUIDE}/render_page.c)
  target_link_libraries(render_page PRIVATE tamvel)
endif()

if(TAMVEL_TESTS)
  enable_testing()
  include(${PROJECT_SOURCE_DIR}/cmake/Tests.cmake)
endif()
if(TAMVEL_BENCH AND NOT WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/Bench.cmake OPTIONAL)
endif()
if(TAMVEL_FUZZ)
  include(${PROJECT_SOURCE_DIR}/cmake/Fuzz.cmake OPTIONAL)
endif()
