include_guard(GLOBAL)
# The contract helpers of tests/contract: the table of every call of the public headers,
# written at build time by tools/gen-contract-calls.py (so that a new call is tried without
# further work), and the hostile values of each argument kind. The contract test and the fuzz
# targets that include tests/contract/contract.h use them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB TAMVEL_PUBLIC_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/*.h)
set(TAMVEL_CONTRACT_CALLS ${PROJECT_BINARY_DIR}/contract/contract_calls.inc)
add_custom_command(
  OUTPUT ${TAMVEL_CONTRACT_CALLS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/contract
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen-contract-calls.py
          -o ${TAMVEL_CONTRACT_CALLS} ${TAMVEL_PUBLIC_HEADERS}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen-contract-calls.py
          ${PROJECT_SOURCE_DIR}/tools/header_calls.py ${TAMVEL_PUBLIC_HEADERS}
  COMMENT "Generating the contract table of calls from include/"
  VERBATIM)

# The table alone (the contract test compiles the helpers as its own sources).
function(tamvel_contract_table target)
  target_sources(${target} PRIVATE ${TAMVEL_CONTRACT_CALLS})
  target_include_directories(${target} PRIVATE ${PROJECT_BINARY_DIR}/contract)
endfunction()

# The table and the helpers, for a fuzz target whose source includes tests/contract/contract.h.
function(tamvel_contract_helpers target source)
  file(STRINGS ${source} uses REGEX "#include \"tests/contract/contract.h\"")
  if(uses)
    tamvel_contract_table(${target})
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/contract/calls.cpp
                                      ${PROJECT_SOURCE_DIR}/tests/contract/hostile_values.cpp)
  endif()
endfunction()
