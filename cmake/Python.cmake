# The Python package tamvel (python/tamvel, Linux only): its sources and the table of the
# headers' calls that tools/gen-python.py writes, put together in <build>/python/tamvel for
# the tests and the install component python (the Debian package python3-tamvel); and the
# pytest suite of tests/python, one test per file.

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TAMVEL_PYTHON_FOLDER ${PROJECT_BINARY_DIR}/python)
set(TAMVEL_PYTHON_DECLARATIONS ${TAMVEL_PYTHON_FOLDER}/tamvel/_declarations.py)
add_custom_command(
  OUTPUT ${TAMVEL_PYTHON_DECLARATIONS}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen-python.py
          --version ${PROJECT_VERSION} -o ${TAMVEL_PYTHON_DECLARATIONS} ${TAMVEL_PUBLIC_HEADERS}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen-python.py ${PROJECT_SOURCE_DIR}/tools/gen-fortran.py
          ${PROJECT_SOURCE_DIR}/tools/header_calls.py ${TAMVEL_PUBLIC_HEADERS}
  COMMENT "Generating the Python package's _declarations.py from include/"
  VERBATIM)
file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/python/tamvel/*.py)
set(copies)
foreach(source ${sources})
  get_filename_component(name ${source} NAME)
  set(copy ${TAMVEL_PYTHON_FOLDER}/tamvel/${name})
  add_custom_command(OUTPUT ${copy} COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
                     DEPENDS ${source} VERBATIM)
  list(APPEND copies ${copy})
endforeach()
add_custom_target(tamvel_python ALL DEPENDS ${TAMVEL_PYTHON_DECLARATIONS} ${copies})
add_dependencies(installable tamvel_python)

# Where Debian's python3 finds the packages of Debian packages; for another prefix, put
# <prefix>/lib/python3/dist-packages on PYTHONPATH.
set(TAMVEL_PYTHON_DESTINATION lib/python3/dist-packages
    CACHE PATH "Where the Python package tamvel is installed")
install(DIRECTORY ${TAMVEL_PYTHON_FOLDER}/tamvel DESTINATION ${TAMVEL_PYTHON_DESTINATION}
        COMPONENT python FILES_MATCHING PATTERN "*.py" PATTERN "__pycache__" EXCLUDE)

if(NOT TAMVEL_TESTS)
  return()
endif()
# The tests run on Debian's own python3, which sees the python3-* packages of
# scripts/setup-debian.sh (pytest, NumPy, Jupyter) whatever python3 comes first on PATH.
set(TAMVEL_TEST_PYTHON /usr/bin/python3 CACHE FILEPATH "The Python that runs tests/python")
execute_process(COMMAND ${TAMVEL_TEST_PYTHON} -c "import pytest, numpy"
                RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
if(missing)
  message(STATUS "${TAMVEL_TEST_PYTHON} lacks pytest or NumPy: the Python tests are skipped "
                 "(scripts/setup-debian.sh installs them)")
  return()
endif()
set(environment "PYTHONPATH=${TAMVEL_PYTHON_FOLDER}" "TAMVEL_LIBRARY=$<TARGET_FILE:tamvel>"
    "TAMVEL_BUILD=${PROJECT_BINARY_DIR}" "PYTHONDONTWRITEBYTECODE=1")
if(CMAKE_CXX_FLAGS MATCHES "sanitize=address")
  # The sanitized library checks what Python hands it; the sanitizer's runtime must be loaded
  # before Python itself, and Python's own memory at exit is no leak of ours.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libasan.so
                  OUTPUT_VARIABLE runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND environment "LD_PRELOAD=${runtime}" "ASAN_OPTIONS=detect_leaks=0")
endif()
file(GLOB test_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/python/test_*.py)
foreach(test_file ${test_files})
  get_filename_component(name ${test_file} NAME_WE)
  string(REGEX REPLACE "^test_" "python_" name ${name})
  add_test(NAME ${name} COMMAND ${TAMVEL_TEST_PYTHON} -m pytest -q -p no:cacheprovider ${test_file}
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
endforeach()
