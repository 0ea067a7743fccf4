// Text buffer operations in random order, checked against a plain string holding the same content.
#include <algorithm>

#include "FuzzInput.h"
#include "text/DoubleByte.h"
#include "text/TextBuffer.h"

namespace {

void CheckContent(const TextBuffer& b, const Text& model) {
  FUZZ_CHECK(b.GetAll() == model);
  FUZZ_CHECK(b.Length() == static_cast<int32_t>(model.size()));
  FUZZ_CHECK(b.Capacity() >= b.Length() + 1);
}

// The whole block: the content, then nothing but zero bytes.
void CheckBlock(const TextBuffer& b, const Text& model) {
  CheckContent(b, model);
  Bytes block = b.BlockBytes();
  FUZZ_CHECK(block.size() == static_cast<size_t>(b.Capacity()));
  FUZZ_CHECK(std::equal(block.begin() + static_cast<std::ptrdiff_t>(model.size()), block.end(),
                        Bytes(block.size() - model.size(), 0).begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto ops = FuzzFields(data, size, 64);
  TextBuffer b;
  Text model;
  for (const std::string& op : ops) {
    if (op.empty()) continue;
    const uint8_t code = static_cast<uint8_t>(op[0]) % 20;
    const int32_t n = op.size() > 1 ? static_cast<int8_t>(op[1]) : 0;
    const int32_t m = op.size() > 2 ? static_cast<int8_t>(op[2]) : 0;
    const Text arg = UpToZero(op.size() > 3 ? op.substr(3) : std::string());
    const int64_t len = static_cast<int64_t>(model.size());
    switch (code) {
      case 0:
        FUZZ_CHECK(b.Append(arg) == !arg.empty());
        model += arg;
        break;
      case 1:
        FUZZ_CHECK(b.SetText(arg));
        model = arg;
        break;
      case 2: {
        int64_t at = n < 0 ? n + len : n;
        bool ok = !arg.empty() && at >= 0 && at <= len;
        FUZZ_CHECK(b.Insert(n, arg) == ok);
        if (ok) model.insert(static_cast<size_t>(at), arg);
        break;
      }
      case 3: {
        int64_t at = n < 0 ? n + len : n;
        bool ok = at >= 0 && at < len && m >= 0;
        FUZZ_CHECK(b.Delete(n, m) == ok);
        if (ok) model.erase(static_cast<size_t>(at), m == 0 ? Text::npos : static_cast<size_t>(m));
        break;
      }
      case 4: {
        int64_t at = n < 0 ? n + len : n;
        bool ok = at >= 0 && at <= len;
        FUZZ_CHECK(b.ReplaceRange(n, m, arg) == ok);
        if (ok) model.replace(static_cast<size_t>(at), m <= 0 ? Text::npos : static_cast<size_t>(m), arg);
        break;
      }
      case 5:
        FUZZ_CHECK(b.Reset());
        model.clear();
        FUZZ_CHECK(b.Capacity() == b.SetBlockSize());
        break;
      case 6:
        b.SetBlockSize(n * 64);
        break;
      case 7: {
        Text got = b.GetText(n, m);
        FUZZ_CHECK(model.find(got) != Text::npos);
        Bytes bytes = b.GetBytes(n, m);
        FUZZ_CHECK(model.find(Text(bytes.begin(), bytes.end())) != Text::npos);
        break;
      }
      case 8: {
        int32_t at = b.Find(arg, n, m & 1);
        int32_t last = b.FindLast(arg, n, m & 1);
        for (int32_t p : {at, last}) {
          FUZZ_CHECK(p == -1 || (p >= 1 && static_cast<size_t>(p - 1) + arg.size() <= model.size()));
          if (p > 0) FUZZ_CHECK(LowerAscii(model.substr(p - 1, arg.size())) == LowerAscii(arg) ||
                                model.substr(p - 1, arg.size()) == arg);
        }
        break;
      }
      case 9: model = b.ToHalfWidth(); FUZZ_CHECK(model.size() <= static_cast<size_t>(len)); break;
      case 10: model = b.ToFullWidth(); FUZZ_CHECK(model.size() >= static_cast<size_t>(len)); break;
      case 11: model = b.RemoveSpaces(); break;
      case 12: {
        Text before = model;
        model = b.Trim();
        FUZZ_CHECK(before.find(model) != Text::npos);
        break;
      }
      case 13: model = b.TrimLeft(); break;
      case 14: model = b.TrimRight(); break;
      case 15: model = b.ToUpper(); FUZZ_CHECK(model.size() == static_cast<size_t>(len)); break;
      case 16: model = b.ToLower(); FUZZ_CHECK(model.size() == static_cast<size_t>(len)); break;
      case 17: {
        std::vector<Text> parts;
        int32_t count = b.Split(arg, m, parts);
        FUZZ_CHECK(count == static_cast<int32_t>(parts.size()));
        size_t total = 0;
        for (const Text& part : parts) total += part.size();
        FUZZ_CHECK(total <= model.size());
        break;
      }
      case 18: b.Compact(); break;
      case 19: FUZZ_CHECK(b.AppendLine(arg)); model += arg + "\r\n"; break;
    }
    CheckContent(b, model);
  }
  CheckBlock(b, model);
  return 0;
}
