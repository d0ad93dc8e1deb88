// The hostile values of every argument kind. Arrays and buffers are allocated to their exact
// size, so that the sanitizer sees any read or write past them.
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include "include/tamvel_linux.h"
#include "platform/handle_value.h"
#include "platform/win32.h"
#include "tests/contract/contract.h"

namespace tamvel::contract {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kTextLimit = 1024;  // the text calls read at most this many bytes

// Never destroyed, like the storage its values point into: a leak check at exit finds both.
std::map<Kind, std::vector<Value>> &Tables() {
  static auto *tables = new std::map<Kind, std::vector<Value>>;
  return *tables;
}

std::string Shown(double number) {
  std::ostringstream out;
  out << number;
  return out.str();
}

Value Number(double number) { return Value{number, 0, nullptr, Shown(number)}; }
Value Integer(int64_t integer) { return Value{0.0, integer, nullptr, std::to_string(integer)}; }
Value Pointer(void *pointer, std::string shown) { return Value{0.0, 0, pointer, std::move(shown)}; }

// Storage that lives as long as the process; children inherit it with the tables.
template <typename T>
T *Keep(size_t count) {
  return new T[count]();  // never freed: the tables point into it
}

char *KeepText(const std::string &text) {
  char *copy = Keep<char>(text.size() + 1);
  std::memcpy(copy, text.data(), text.size());
  return copy;
}

// A C string literal for the text, long ones by their size.
std::string Quoted(const std::string &text) {
  if (text.size() > 40)
    return std::to_string(text.size()) + " bytes of '" + text.substr(0, 1) + "'";
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      quoted += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      quoted += escape;
    }
  }
  return quoted + "\"";
}

Value Text(const std::string &text) { return Pointer(KeepText(text), Quoted(text)); }

// A buffer of exactly `size` bytes of `fill`, without a terminating NUL.
char *Unterminated(size_t size, char fill) {
  char *bytes = Keep<char>(size);
  std::memset(bytes, fill, size);
  return bytes;
}

std::vector<Value> Floats() {
  std::vector<Value> values;
  for (double v : {10.0, 0.0, -1.0, 999.0, 1.0e-45, 3.0e9, -3.0e9, 2147483648.0, 1.0e38, -1.0e38,
                   static_cast<double>(FLT_MAX), kInf, -kInf, kNaN}) {
    values.push_back(Number(v));
  }
  return values;
}

std::vector<Value> Doubles() {
  std::vector<Value> values;
  for (double v :
       {210.0, 0.0, -1.0, 1.0e-300, 1.0e4, 1.0e38, 1.0e308, -1.0e308, kInf, -kInf, kNaN}) {
    values.push_back(Number(v));
  }
  return values;
}

std::vector<Value> Integers() {
  std::vector<Value> values;
  for (int64_t v :
       {int64_t{2}, int64_t{INT32_MIN}, int64_t{INT32_MIN} + 1, int64_t{-1000}, int64_t{-3},
        int64_t{-1}, int64_t{0}, int64_t{1}, int64_t{3}, int64_t{5}, int64_t{13}, int64_t{100},
        int64_t{101}, int64_t{999}, int64_t{1001}, int64_t{1000000}, int64_t{INT32_MAX}}) {
    values.push_back(Integer(v));
  }
  return values;
}

std::vector<Value> Counts() {
  std::vector<Value> values;
  for (int64_t v : {3, INT32_MIN, -1, 0, 1, 2, 4, 1000, kArrayLength}) values.push_back(Integer(v));
  return values;
}

std::vector<Value> Texts() {
  return {Text("Ab1"),
          Pointer(nullptr, "null"),
          Text(""),
          Text("\x82\xa0\x82\xa2"),
          Text("A\x82"),
          Text("\xff\xfe\x80\xa0\x7f"),
          Text("\t\r\n\x01 x"),
          Pointer(Unterminated(kTextLimit, 'W'), "1024 unterminated bytes"),
          Pointer(Unterminated(kTextLimit, '\x88'), "1024 unterminated lead bytes"),
          Text(std::string(5000, 'M'))};
}

std::vector<Value> Strings() {
  return {Text("Ab1"),         Pointer(nullptr, "null"),    Text(""),
          Text("a\\b\\..\\c"), Text("[x]\n=y\r\n\"z"),      Text("\x82\xa0\x82\xa2"),
          Text("A\x82"),       Text(std::string(5000, 'K'))};
}

std::vector<Value> Paths() {
  return {Text("page.emf"),
          Pointer(nullptr, "null"),
          Text(""),
          Text("new.emf"),
          Text("folder"),
          Text("folder/"),
          Text("missing/x.emf"),
          Text("garbage.emf"),
          Text("empty.emf"),
          Text("\x82\xa0.emf"),
          Text(std::string(300, 'p')),
          Text(std::string(5000, 'p'))};
}

Value Fortran(const char *text, int32_t length, std::string shown) {
  auto *descriptor = Keep<TAMVEL_FSTRING>(1);
  descriptor->text = text;
  descriptor->length = length;
  return Pointer(descriptor, std::move(shown));
}

std::vector<Value> FortranStrings() {
  char *short_text = Keep<char>(4096);  // "Ab1" and then zeros: lengths up to 4096 can lie
  std::memcpy(short_text, "Ab1", 3);
  return {Fortran(short_text, 3, "{\"Ab1\", 3}"),
          Pointer(nullptr, "null"),
          Fortran(nullptr, 0, "{null, 0}"),
          Fortran(nullptr, 5, "{null, 5}"),
          Fortran(short_text, 0, "{\"Ab1\", 0}"),
          Fortran(short_text, -1, "{\"Ab1\", -1}"),
          Fortran(short_text, INT32_MIN, "{\"Ab1\", INT32_MIN}"),
          Fortran(short_text, 4096, "{\"Ab1\" and 4093 NULs, 4096}"),
          Fortran(KeepText("Ab1   "), 6, "{\"Ab1   \", 6}"),
          Fortran(KeepText("\x82\xa0\x82"), 3, "{" + Quoted("\x82\xa0\x82") + ", 3}"),
          Fortran(Unterminated(4096, 'W'), 4096, "{4096 unterminated bytes, 4096}")};
}

template <typename T>
Value PointerTo(T value, std::string shown) {
  T *storage = Keep<T>(1);
  *storage = value;
  return Pointer(storage, "&" + shown);
}

std::vector<Value> FloatPointers() {
  std::vector<Value> values;
  for (double v : {210.0, 0.0, -1.0, 1.0e38, kInf, -kInf, kNaN}) {
    values.push_back(PointerTo(static_cast<float>(v), Shown(v)));
  }
  values.insert(values.begin() + 1, Pointer(nullptr, "null"));
  return values;
}

std::vector<Value> IntPointers() {
  return {PointerTo<int32_t>(0, "0"), Pointer(nullptr, "null"),
          PointerTo<int32_t>(INT32_MIN, "INT32_MIN"), PointerTo<int32_t>(INT32_MAX, "INT32_MAX")};
}

// kArrayLength floats from a pattern of page millimetres.
Value FloatArray(std::initializer_list<double> pattern, const std::string &shown) {
  float *values = Keep<float>(kArrayLength);
  const std::vector<double> p(pattern);
  for (int i = 0; i < kArrayLength; ++i) values[i] = static_cast<float>(p[i % p.size()]);
  return Pointer(values, "float[] {" + shown + ", ...}");
}

std::vector<Value> FloatArrays() {
  return {FloatArray({10.0, 50.0, 30.0, 80.0}, "10, 50, 30, 80"),
          Pointer(nullptr, "null"),
          FloatArray({10.0, kNaN, 30.0}, "10, NaN, 30"),
          FloatArray({kInf, -kInf}, "inf, -inf"),
          FloatArray({1.0e38, -1.0e38}, "1e38, -1e38"),
          FloatArray({3.0e9, -3.0e9, 0.0}, "3e9, -3e9, 0"),
          FloatArray({999.0, 10.0}, "999, 10"),
          FloatArray({5.0}, "5, 5, 5")};
}

Value PointArray(std::initializer_list<int32_t> pattern, const std::string &shown) {
  auto *points = Keep<TAMVEL_POINT>(kArrayLength);
  const std::vector<int32_t> p(pattern);
  for (int i = 0; i < kArrayLength; ++i) {
    points[i] = TAMVEL_POINT{p[(2 * i) % p.size()], p[(2 * i + 1) % p.size()]};
  }
  return Pointer(points, "TAMVEL_POINT[] {" + shown + ", ...}");
}

std::vector<Value> PointArrays() {
  return {PointArray({100, 100, 5000, 100, 5000, 5000}, "(100, 100), (5000, 100), (5000, 5000)"),
          Pointer(nullptr, "null"),
          PointArray({INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, "(INT32_MIN, INT32_MAX), ..."),
          PointArray({0, 0, INT32_MAX, 0, 0, INT32_MAX}, "(0, 0), (INT32_MAX, 0), ...")};
}

std::vector<Value> CharBuffers() {
  char *filled = Keep<char>(kBufferBytes);
  std::memset(filled, 0xff, kBufferBytes);
  return {Pointer(Keep<char>(kBufferBytes), "char[131072] zeroed"), Pointer(nullptr, "null"),
          Pointer(filled, "char[131072] of 0xff")};
}

std::vector<Value> DataBuffers() {
  auto *bytes = Keep<unsigned char>(kBufferBytes);
  for (int i = 0; i < kBufferBytes; ++i) bytes[i] = static_cast<unsigned char>(i * 7);
  return {Pointer(bytes, "byte[131072]"), Pointer(nullptr, "null")};
}

Value Handle(uint32_t value, std::string shown) {
  return Pointer(HandleFromValue<void *>(value), std::move(shown));
}
Value Handle(const void *handle, std::string shown) {
  return Handle(HandleValue(handle), std::move(shown));
}

// The handles the tables hold, so that the next tables can let them go.
struct Made {
  std::vector<TAMVEL_HDC> dcs;
  std::vector<TAMVEL_HWND> windows;
  HDC recording = nullptr;
};
Made &MadeHandles() {
  static Made made;
  return made;
}

TAMVEL_HDC Dc(TAMVEL_HDC dc) { return MadeHandles().dcs.emplace_back(dc); }
TAMVEL_HWND Window(TAMVEL_HWND window) { return MadeHandles().windows.emplace_back(window); }

void ReleaseHandles() {
  Made &made = MadeHandles();
  for (TAMVEL_HDC dc : made.dcs) TamvelDeleteDC(dc);
  for (TAMVEL_HWND window : made.windows) TamvelDestroyWindow(window);
  if (made.recording != nullptr) DeleteEnhMetaFile(CloseEnhMetaFile(made.recording));
  made = Made{};
}

std::vector<Value> DeviceContexts() {
  TAMVEL_HDC stale = TamvelCreateImageDC(8, 8);
  TamvelDeleteDC(stale);
  HDC stale_recording = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  DeleteEnhMetaFile(CloseEnhMetaFile(stale_recording));
  MadeHandles().recording = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  return {Handle(Dc(TamvelCreateImageDC(64, 48)), "image DC 64 x 48"),
          Handle(0u, "null"),
          Handle(static_cast<uint32_t>(MHDC(0)), "MHDC(0)"),
          Handle(MadeHandles().recording, "a recording DC of no page"),
          Handle(Dc(TamvelCreatePrinterDC("printer.pdf", 210.0, 297.0, 72, 10, 10)), "printer DC"),
          Handle(Dc(TamvelCreateSvgDC("drawing.svg", 64, 48)), "SVG DC"),
          Handle(stale, "deleted image DC"),
          Handle(stale_recording, "closed recording DC"),
          Handle(Window(TamvelCreateWindow(64, 48)), "a window as DC"),
          Handle(0xffffffffu, "(HDC)0xffffffff"),
          Handle(1u, "(HDC)1"),
          Handle(0x7fffffffu, "(HDC)0x7fffffff")};
}

std::vector<Value> Windows() {
  TAMVEL_HWND stale = TamvelCreateWindow(8, 8);
  TamvelDestroyWindow(stale);
  return {Handle(Window(TamvelCreateWindow(200, 100)), "window 200 x 100"),
          Handle(0u, "null"),
          Handle(Window(TamvelCreateWindow(0, 0)), "window 0 x 0"),
          Handle(Window(TamvelCreateWindow(INT32_MAX, 1)), "window INT32_MAX x 1"),
          Handle(stale, "destroyed window"),
          Handle(Dc(TamvelCreateImageDC(8, 8)), "an image DC as window"),
          Handle(0xffffffffu, "(HWND)0xffffffff")};
}

// The bytes of a small page, for the path values that name a metafile.
std::string &PageBytes() {
  static std::string bytes;
  return bytes;
}

}  // namespace

void BuildValues() {
  auto &tables = Tables();
  ReleaseHandles();
  tables[Kind::kDc] = DeviceContexts();
  tables[Kind::kWindow] = Windows();
  if (tables.count(Kind::kFloat) != 0) return;  // the rest is made once
  tables[Kind::kFloat] = Floats();
  tables[Kind::kDouble] = Doubles();
  tables[Kind::kInt] = Integers();
  tables[Kind::kCount] = Counts();
  tables[Kind::kText] = Texts();
  tables[Kind::kString] = Strings();
  tables[Kind::kPath] = Paths();
  tables[Kind::kFortranString] = FortranStrings();
  tables[Kind::kFloatPointer] = FloatPointers();
  tables[Kind::kIntPointer] = IntPointers();
  tables[Kind::kFloatArray] = FloatArrays();
  tables[Kind::kPointArray] = PointArrays();
  tables[Kind::kCharBuffer] = CharBuffers();
  tables[Kind::kDataBuffer] = DataBuffers();

  // A page of our own for page.emf: recorded once, not on the caller's pages.
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 100, 100);
  HENHMETAFILE page = CloseEnhMetaFile(dc);
  PageBytes().resize(GetEnhMetaFileBits(page, 0, nullptr));
  GetEnhMetaFileBits(page, static_cast<UINT>(PageBytes().size()),
                     reinterpret_cast<BYTE *>(PageBytes().data()));
  DeleteEnhMetaFile(page);
}

const std::vector<Value> &ValuesOf(Kind kind) { return Tables().at(kind); }

void ResetScratchFiles() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::remove_all("folder", ignored);
  fs::create_directory("folder", ignored);
  std::ofstream("page.emf", std::ios::binary | std::ios::trunc) << PageBytes();
  std::ofstream("empty.emf", std::ios::trunc).flush();
  // A header that claims far more than the file holds, then noise.
  std::string garbage = PageBytes().substr(0, 108);
  if (garbage.size() >= 52) std::memset(garbage.data() + 48, 0x7f, 4);  // nBytes
  garbage += std::string(512, '\xa5');
  std::ofstream("garbage.emf", std::ios::binary | std::ios::trunc) << garbage;
}

std::filesystem::path NewScratchFolder(const std::string &name) {
  std::error_code error;
  std::filesystem::path base = "/dev/shm";
  if (!std::filesystem::is_directory(base, error) || access(base.c_str(), W_OK) != 0) {
    base = std::filesystem::temp_directory_path();
  }
  const std::filesystem::path folder = base / ("tamvel-" + name + "-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder, error);
  std::filesystem::create_directories(folder, error);
  return folder;
}

void IsolateIn(const std::filesystem::path &root) {
  for (const char *folder : {"home", "tmp", "registry", "data", "config"}) {
    std::filesystem::create_directories(root / folder);
  }
  setenv("HOME", (root / "home").c_str(), 1);
  setenv("TMPDIR", (root / "tmp").c_str(), 1);
  setenv("TAMVEL_REGISTRY_DIR", (root / "registry").c_str(), 1);
  setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  // No screen to put windows and viewers on, no print scheduler to send jobs to.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("CUPS_SERVER", (root / "no-scheduler.sock").c_str(), 1);
  std::filesystem::current_path(root);
}

std::string Describe(const Call &call, const Arguments &arguments) {
  std::string text = std::string(call.name) + "(";
  for (size_t i = 0; i < arguments.values.size(); ++i) {
    if (i > 0) text += ", ";
    text += arguments.values[i]->shown;
  }
  return text + ")";
}

}  // namespace tamvel::contract
