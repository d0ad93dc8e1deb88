#include "tests/common/emf_test_util.h"

#include <fstream>
#include <iterator>

#include "platform/emf/emf_text.h"

namespace tamvel::test {

emf::DecodeResult DecodeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    emf::DecodeResult result;
    result.problems.push_back({0, 0, "cannot open " + path});
    return result;
  }
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return emf::DecodeEmf(data.data(), data.size());
}

std::string TestDataPath(const std::string& name) {
  return std::string(TAMVEL_SOURCE_DIR) + "/tests/data/" + name;
}

std::vector<const emf::Record*> FindRecords(const emf::DecodeResult& result, uint32_t type) {
  std::vector<const emf::Record*> found;
  for (const emf::Record& record : result.records) {
    if (record.type == type) found.push_back(&record);
  }
  return found;
}

size_t CountRecords(const emf::DecodeResult& result, uint32_t type) {
  return FindRecords(result, type).size();
}

std::vector<uint32_t> RecordTypes(const emf::DecodeResult& result) {
  std::vector<uint32_t> types;
  for (const emf::Record& record : result.records) types.push_back(record.type);
  return types;
}

std::string Describe(const emf::Record& record) { return emf::FormatRecordFields(record); }

std::string DescribeAll(const emf::DecodeResult& result) {
  std::string text;
  for (size_t i = 0; i < result.records.size(); ++i) {
    text += emf::FormatRecord(result.records[i], i) + "\n";
  }
  return text;
}

std::string ProblemsText(const emf::DecodeResult& result) {
  std::string text;
  for (const emf::Problem& problem : result.problems) text += problem.ToString() + "\n";
  return text;
}

std::string TypeNames(const std::vector<uint32_t>& types) {
  std::string text;
  for (uint32_t type : types) {
    const char* name = emf::RecordName(type);
    if (!text.empty()) text += ' ';
    text += name ? std::string(name) : std::to_string(type);
  }
  return text;
}

}  // namespace tamvel::test

namespace tamvel::emf {

void PrintTo(const Point& point, std::ostream* out) {
  *out << "(" << point.x << "," << point.y << ")";
}

void PrintTo(const Rect& rect, std::ostream* out) {
  *out << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
}

void PrintTo(const Extent& extent, std::ostream* out) { *out << extent.cx << "x" << extent.cy; }

void PrintTo(const PaletteEntry& entry, std::ostream* out) {
  *out << "{" << int{entry.red} << "," << int{entry.green} << "," << int{entry.blue} << ","
       << int{entry.flags} << "}";
}

}  // namespace tamvel::emf
