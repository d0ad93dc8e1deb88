// The calls of the public headers, as tools/gen-contract-calls.py lists them.
#include "include/tamvel_linux.h"
#include "tests/contract/contract.h"

namespace tamvel::contract {

const std::vector<Call> &Calls() {
  static const std::vector<Call> calls = {
#include "contract_calls.inc"
  };
  return calls;
}

}  // namespace tamvel::contract
