#include "platform/sami/SamiParser.h"

#include <string_view>

namespace velk {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf16ToUtf8(const uint8_t* p, size_t size, bool bigEndian) {
  std::string out;
  out.reserve(size / 2);
  const size_t units = size / 2;  // an odd last byte is not a character
  auto unit = [&](size_t i) -> uint32_t {
    const uint8_t a = p[2 * i], b = p[2 * i + 1];
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  for (size_t i = 0; i < units; ++i) {
    uint32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
      uint32_t low = unit(i + 1);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;
    AppendUtf8(out, u);
  }
  return out;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == ':';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// One markup tag: its name (without "/") and the text between the name and
// the closing ">" (or the end of the input).
struct Tag {
  size_t begin = 0;  // the "<"
  size_t end = 0;    // just past the ">"
  bool closing = false;
  bool comment = false;
  std::string_view name;
  std::string_view attributes;
};

Tag ReadTag(std::string_view doc, size_t lt) {
  Tag tag;
  tag.begin = lt;
  if (doc.compare(lt, 4, "<!--") == 0) {
    tag.comment = true;
    size_t close = doc.find("-->", lt + 4);
    tag.end = close == std::string_view::npos ? doc.size() : close + 3;
    return tag;
  }
  size_t p = lt + 1;
  if (p < doc.size() && doc[p] == '/') {
    tag.closing = true;
    ++p;
  }
  size_t nameEnd = p;
  while (nameEnd < doc.size() && IsNameChar(doc[nameEnd])) ++nameEnd;
  tag.name = doc.substr(p, nameEnd - p);
  size_t gt = doc.find('>', nameEnd);
  size_t attrEnd = gt == std::string_view::npos ? doc.size() : gt;
  tag.end = gt == std::string_view::npos ? doc.size() : gt + 1;
  tag.attributes = doc.substr(nameEnd, attrEnd - nameEnd);
  return tag;
}

// The value of attribute `name`; found says whether it is there at all.
std::string_view Attribute(std::string_view attrs, std::string_view name, bool* found) {
  *found = false;
  size_t p = 0;
  while (p < attrs.size()) {
    while (p < attrs.size() && !IsNameChar(attrs[p])) ++p;
    size_t nameStart = p;
    while (p < attrs.size() && IsNameChar(attrs[p])) ++p;
    std::string_view attrName = attrs.substr(nameStart, p - nameStart);
    while (p < attrs.size() && IsSpace(attrs[p])) ++p;
    std::string_view value;
    if (p < attrs.size() && attrs[p] == '=') {
      ++p;
      while (p < attrs.size() && IsSpace(attrs[p])) ++p;
      if (p < attrs.size() && (attrs[p] == '"' || attrs[p] == '\'')) {
        char quote = attrs[p++];
        size_t close = attrs.find(quote, p);
        if (close == std::string_view::npos) close = attrs.size();
        value = attrs.substr(p, close - p);
        p = close + (close < attrs.size() ? 1 : 0);
      } else {
        size_t start = p;
        while (p < attrs.size() && !IsSpace(attrs[p])) ++p;
        value = attrs.substr(start, p - start);
      }
    }
    if (!attrName.empty() && EqualNoCase(attrName, name)) {
      *found = true;
      return value;
    }
  }
  return {};
}

bool ReadStart(std::string_view attrs, int64_t* ms) {
  bool found = false;
  std::string_view value = Trim(Attribute(attrs, "start", &found));
  if (!found || value.empty() || value[0] < '0' || value[0] > '9') return false;
  constexpr int64_t kLimit = int64_t{1} << 53;  // beyond any real time; no overflow
  int64_t v = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    if (v < kLimit) v = v * 10 + (c - '0');
  }
  *ms = v < kLimit ? v : kLimit;
  return true;
}

// Collects the text of one stretch of the document, leaving out comments.
class CTextPiece {
 public:
  void Begin(size_t at) {
    text_.clear();
    from_ = at;
    open_ = true;
  }
  bool IsOpen() const { return open_; }
  void SkipComment(std::string_view doc, const Tag& comment) {
    if (!open_) return;
    text_.append(doc.substr(from_, comment.begin - from_));
    from_ = comment.end;
  }
  std::string End(std::string_view doc, size_t at) {
    if (!open_) return {};
    open_ = false;
    text_.append(doc.substr(from_, at - from_));
    return std::string(Trim(text_));
  }

 private:
  std::string text_;
  size_t from_ = 0;
  bool open_ = false;
};

class CSamiReader {
 public:
  explicit CSamiReader(std::string_view doc) : doc_(doc) {}

  std::vector<SamiCaption> Read() {
    size_t p = 0;
    for (size_t lt = doc_.find('<'); lt != std::string_view::npos; lt = doc_.find('<', lt + 1)) {
      Tag tag = ReadTag(doc_, lt);
      if (!tag.comment && !tag.closing && EqualNoCase(tag.name, "body")) {
        p = tag.end;
        break;
      }
      lt = tag.end - 1;  // never look inside a tag twice
    }
    while (p < doc_.size()) {
      size_t lt = doc_.find('<', p);
      if (lt == std::string_view::npos) break;
      Tag tag = ReadTag(doc_, lt);
      p = tag.end;
      OnTag(tag);
    }
    EndBlock(doc_.size());
    return std::move(captions_);
  }

 private:
  void OnTag(const Tag& tag) {
    if (tag.comment) {
      loose_.SkipComment(doc_, tag);
      paragraph_.SkipComment(doc_, tag);
      return;
    }
    if (EqualNoCase(tag.name, "sync")) {
      EndBlock(tag.begin);
      if (tag.closing) return;
      inBlock_ = ReadStart(tag.attributes, &start_);
      if (inBlock_) loose_.Begin(tag.end);
      return;
    }
    if (EqualNoCase(tag.name, "body") || EqualNoCase(tag.name, "sami")) {
      if (tag.closing) EndBlock(tag.begin);
      return;
    }
    if (!inBlock_ || !EqualNoCase(tag.name, "p")) return;
    if (tag.closing) {
      EndParagraph(tag.begin);
      return;
    }
    // A new paragraph ends the running one, and the loose text before it.
    EndParagraph(tag.begin);
    if (loose_.IsOpen()) looseText_ = loose_.End(doc_, tag.begin);
    if (haveText_) return;
    bool hasClass = false;
    std::string_view cls = Trim(Attribute(tag.attributes, "class", &hasClass));
    if (hasClass && !languageChosen_) {
      language_ = std::string(cls);
      languageChosen_ = true;
    }
    if (hasClass && !EqualNoCase(cls, language_)) return;
    paragraph_.Begin(tag.begin);
  }

  void EndParagraph(size_t at) {
    if (!paragraph_.IsOpen()) return;
    std::string text = paragraph_.End(doc_, at);
    if (!haveText_) Take(std::move(text));
  }

  void Take(std::string text) {
    text_ = std::move(text);
    haveText_ = true;
  }

  void EndBlock(size_t at) {
    if (!inBlock_) return;
    EndParagraph(at);
    if (loose_.IsOpen()) looseText_ = loose_.End(doc_, at);
    if (!haveText_ && !looseText_.empty()) Take(std::move(looseText_));
    if (haveText_) captions_.push_back({start_, std::move(text_)});
    inBlock_ = false;
    haveText_ = false;
    text_.clear();
    looseText_.clear();
  }

  std::string_view doc_;
  std::vector<SamiCaption> captions_;
  bool inBlock_ = false;
  int64_t start_ = 0;
  CTextPiece loose_;
  std::string looseText_;  // text of the block before its first paragraph
  CTextPiece paragraph_;
  bool haveText_ = false;
  std::string text_;
  bool languageChosen_ = false;
  std::string language_;
};

}  // namespace

SamiDocument ParseSami(const uint8_t* data, size_t size) {
  SamiDocument result;
  if (!data) size = 0;
  std::string converted;
  std::string_view doc;
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    result.encoding = SamiEncoding::Utf8;
    doc = std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3);
  } else if (size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) ||
                           (data[0] == 0xFE && data[1] == 0xFF))) {
    const bool bigEndian = data[0] == 0xFE;
    result.encoding = bigEndian ? SamiEncoding::Utf16Be : SamiEncoding::Utf16Le;
    converted = Utf16ToUtf8(data + 2, size - 2, bigEndian);
    doc = converted;
  } else if (size > 0) {
    doc = std::string_view(reinterpret_cast<const char*>(data), size);
  }
  result.captions = CSamiReader(doc).Read();
  return result;
}

}  // namespace velk
