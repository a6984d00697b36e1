#include "platform/sami/SamiParser.h"

#include "core/Utf8.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <unordered_map>

namespace velk {

namespace {

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

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

// Where "</name" (any case) starts at or after `from`, or the end of the input.
size_t FindEndTag(std::string_view doc, size_t from, std::string_view name) {
  for (size_t p = doc.find("</", from); p != std::string_view::npos; p = doc.find("</", p + 2)) {
    std::string_view rest = doc.substr(p + 2);
    if (rest.size() >= name.size() && EqualNoCase(rest.substr(0, name.size()), name) &&
        (rest.size() == name.size() || !IsNameChar(rest[name.size()]))) {
      return p;
    }
  }
  return doc.size();
}

bool IsClassChar(char c) { return IsNameChar(c) && c != ':'; }

std::string_view Unquote(std::string_view s) {
  s = Trim(s);
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    s = Trim(s.substr(1, s.size() - 2));
  }
  return s;
}

// A class declared in a STYLE block. Its properties point into the reader's
// copy of the style sheet: a rule's properties are never copied per selector.
struct DeclaredClass {
  std::string selector;
  std::string_view name;
  std::string_view lang;
};

// The class rules of a style sheet, in order; a class declared again keeps its
// place and takes the later properties.
class CStyleReader {
 public:
  void Read(std::string_view css) {
    sheets_.push_back(WithoutComments(css));
    std::string_view sheet = sheets_.back();
    size_t p = 0;
    while (p < sheet.size()) {
      size_t open = sheet.find('{', p);
      if (open == std::string_view::npos) break;
      size_t close = sheet.find('}', open + 1);
      if (close == std::string_view::npos) close = sheet.size();
      OnRule(sheet.substr(p, open - p), sheet.substr(open + 1, close - open - 1));
      p = close + 1;
    }
  }
  std::vector<DeclaredClass>& Classes() { return classes_; }
  // The declaration of a lower-case class, or -1.
  int Find(const std::string& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? -1 : static_cast<int>(it->second);
  }

 private:
  // "/* */" goes; the "<!--" and "-->" that hide a style sheet from old
  // browsers become blanks.
  static std::string WithoutComments(std::string_view css) {
    std::string out;
    out.reserve(css.size());
    size_t p = 0;
    while (p < css.size()) {
      if (css.compare(p, 2, "/*") == 0) {
        size_t close = css.find("*/", p + 2);
        p = close == std::string_view::npos ? css.size() : close + 2;
        out += ' ';
      } else if (css.compare(p, 4, "<!--") == 0) {
        p += 4;
        out += ' ';
      } else if (css.compare(p, 3, "-->") == 0) {
        p += 3;
        out += ' ';
      } else {
        out += css[p++];
      }
    }
    return out;
  }

  void OnRule(std::string_view selectors, std::string_view body) {
    // The properties are read once, however many selectors share them.
    bool hasName = false, hasLang = false;
    std::string_view name, lang;
    size_t p = 0;
    while (p < body.size()) {
      size_t semicolon = body.find(';', p);
      if (semicolon == std::string_view::npos) semicolon = body.size();
      std::string_view property = body.substr(p, semicolon - p);
      size_t colon = property.find(':');
      if (colon != std::string_view::npos) {
        std::string_view key = Trim(property.substr(0, colon));
        std::string_view value = Unquote(property.substr(colon + 1));
        if (EqualNoCase(key, "name")) hasName = true, name = value;
        if (EqualNoCase(key, "lang")) hasLang = true, lang = value;
      }
      p = semicolon + 1;
    }
    p = 0;
    while (p <= selectors.size()) {
      size_t comma = selectors.find(',', p);
      if (comma == std::string_view::npos) comma = selectors.size();
      std::string_view selector = Trim(selectors.substr(p, comma - p));
      size_t dot = selector.rfind('.');
      if (dot != std::string_view::npos) {
        size_t end = dot + 1;
        while (end < selector.size() && IsClassChar(selector[end])) ++end;
        if (end > dot + 1) {
          DeclaredClass& declared = Declare(selector.substr(dot + 1, end - dot - 1));
          if (hasName) declared.name = name;
          if (hasLang) declared.lang = lang;
        }
      }
      p = comma + 1;
    }
  }

  DeclaredClass& Declare(std::string_view selector) {
    auto [it, added] = index_.emplace(LowerCase(selector), classes_.size());
    if (added) classes_.push_back({std::string(selector), {}, {}});
    return classes_[it->second];
  }

  std::deque<std::string> sheets_;  // never moved: the declarations point into them
  std::vector<DeclaredClass> classes_;
  std::unordered_map<std::string, size_t> index_;
};

struct Paragraph {
  int cls = -1;          // the class's number in the order of first use; -1 without a Class
  std::string text;      // as written
  size_t contentAt = 0;  // where the text after the opening tag starts
};

struct Block {
  int64_t startMs = 0;
  std::string loose;  // text before the first paragraph
  std::vector<Paragraph> paragraphs;
};

// One caption line after another, in the caption's own line break.
class CCaptionLines {
 public:
  void Clear() {
    text_.clear();
    hasContent_ = false;
  }
  bool Empty() const { return text_.empty(); }
  void Add(const Paragraph& p) {
    std::string_view content = Trim(std::string_view(p.text).substr(std::min(p.contentAt, p.text.size())));
    if (text_.empty()) {
      text_ = p.text;
    } else if (!content.empty()) {
      if (hasContent_) text_ += "<br>";
      text_.append(content);
    }
    if (!content.empty()) hasContent_ = true;
  }
  std::string& Text() { return text_; }

 private:
  std::string text_;
  bool hasContent_ = false;
};

class CSamiReader {
 public:
  explicit CSamiReader(std::string_view doc) : doc_(doc) {}

  void Read(SamiDocument* result) {
    const size_t bodyAt = BodyStart();
    size_t p = 0;
    while (p < doc_.size()) {
      size_t lt = doc_.find('<', p);
      if (lt == std::string_view::npos) break;
      Tag tag = ReadTag(doc_, lt);
      if (IsStyle(tag)) {
        p = ReadStyle(tag);
      } else {
        p = tag.end;
        if (lt >= bodyAt) OnTag(tag);
      }
    }
    EndBlock(doc_.size());
    MakeLanguages(result);
  }

 private:
  static bool IsStyle(const Tag& tag) {
    return !tag.comment && !tag.closing && EqualNoCase(tag.name, "style");
  }

  // Just past the STYLE element that starts with `tag` (its end tag included).
  size_t StyleEnd(const Tag& tag) const {
    size_t close = FindEndTag(doc_, tag.end, "style");
    return close < doc_.size() ? ReadTag(doc_, close).end : doc_.size();
  }

  // Where the body begins: just past the BODY tag, or the start when there is
  // none. Style sheets are stepped over whole, as the reading does.
  size_t BodyStart() const {
    size_t p = 0;
    while (p < doc_.size()) {
      size_t lt = doc_.find('<', p);
      if (lt == std::string_view::npos) break;
      Tag tag = ReadTag(doc_, lt);
      if (!tag.comment && !tag.closing && EqualNoCase(tag.name, "body")) return tag.end;
      p = IsStyle(tag) ? StyleEnd(tag) : tag.end;
    }
    return 0;
  }

  // Takes the class rules of a style sheet, wherever it lies; its text is no
  // caption text.
  size_t ReadStyle(const Tag& tag) {
    const size_t close = FindEndTag(doc_, tag.end, "style");
    styles_.Read(doc_.substr(tag.end, close - tag.end));
    Tag whole = tag;
    whole.end = close < doc_.size() ? ReadTag(doc_, close).end : doc_.size();
    loose_.SkipComment(doc_, whole);
    paragraph_.SkipComment(doc_, whole);
    return whole.end;
  }

  void OnTag(const Tag& tag) {
    if (tag.comment) {
      loose_.SkipComment(doc_, tag);
      paragraph_.SkipComment(doc_, tag);
      return;
    }
    if (EqualNoCase(tag.name, "sync")) {
      EndBlock(tag.begin);
      if (tag.closing) return;
      inBlock_ = ReadStart(tag.attributes, &block_.startMs);
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
    if (loose_.IsOpen()) block_.loose = loose_.End(doc_, tag.begin);
    bool hasClass = false;
    std::string_view cls = Trim(Attribute(tag.attributes, "class", &hasClass));
    paragraphClass_ = cls.empty() ? -1 : ClassNumber(cls);
    paragraphContentAt_ = tag.end - tag.begin;
    paragraph_.Begin(tag.begin);
  }

  int ClassNumber(std::string_view cls) {
    auto [it, added] = classNumbers_.emplace(LowerCase(cls), static_cast<int>(usedClasses_.size()));
    if (added) {
      usedClasses_.emplace_back(cls);
      declaredFirst_.push_back(styles_.Find(it->first) >= 0);
    }
    return it->second;
  }

  void EndParagraph(size_t at) {
    if (!paragraph_.IsOpen()) return;
    block_.paragraphs.push_back({paragraphClass_, paragraph_.End(doc_, at), paragraphContentAt_});
  }

  void EndBlock(size_t at) {
    if (!inBlock_) return;
    EndParagraph(at);
    if (loose_.IsOpen()) block_.loose = loose_.End(doc_, at);
    blocks_.push_back(std::move(block_));
    block_ = Block();
    inBlock_ = false;
  }

  void MakeLanguages(SamiDocument* result) {
    // Which language each used class is, -1 for none.
    std::vector<int> languageOf(usedClasses_.size(), -1);
    std::vector<SamiLanguage>& languages = result->languages;
    auto add = [&](int cls, const DeclaredClass* declared) {
      if (languageOf[cls] >= 0 || languages.size() == kSamiMaxLanguages) return;
      languageOf[cls] = static_cast<int>(languages.size());
      SamiLanguage language;
      language.selector = declaredFirst_[cls] ? declared->selector : usedClasses_[cls];
      if (declared) {
        language.name = std::string(declared->name);
        language.lang = std::string(declared->lang);
      }
      languages.push_back(std::move(language));
    };
    // Declared classes in the order of the style sheets; a class used before
    // its declaration counts as used without one, though it keeps its name.
    for (const DeclaredClass& declared : styles_.Classes()) {
      auto used = classNumbers_.find(LowerCase(declared.selector));
      if (used != classNumbers_.end() && declaredFirst_[used->second]) add(used->second, &declared);
    }
    for (size_t cls = 0; cls < usedClasses_.size(); ++cls) {
      const int declared = styles_.Find(LowerCase(usedClasses_[cls]));
      add(static_cast<int>(cls), declared >= 0 ? &styles_.Classes()[declared] : nullptr);
    }

    // Without any class the document has one timeline, as if of one language.
    const size_t timelines = languages.empty() ? 1 : languages.size();
    std::vector<CCaptionLines> lines(timelines);
    for (Block& block : blocks_) {
      for (CCaptionLines& l : lines) l.Clear();
      const Paragraph* shared = nullptr;  // the first without a class
      for (const Paragraph& p : block.paragraphs) {
        if (p.cls < 0) {
          if (!shared) shared = &p;
        } else if (languageOf[p.cls] >= 0) {
          lines[languageOf[p.cls]].Add(p);
        }
      }
      for (size_t i = 0; i < timelines; ++i) {
        std::string text = !lines[i].Empty() ? std::move(lines[i].Text()) : shared ? shared->text : block.loose;
        if (text.empty()) continue;
        std::vector<SamiCaption>& timeline = languages.empty() ? result->captions : languages[i].captions;
        timeline.push_back({block.startMs, std::move(text)});
      }
    }
    if (!languages.empty()) result->captions = languages.front().captions;
  }

  std::string_view doc_;
  CStyleReader styles_;
  std::unordered_map<std::string, int> classNumbers_;  // lower-case class → its number
  std::vector<std::string> usedClasses_;                // as first written, by number
  std::vector<bool> declaredFirst_;                     // declared before its first use, by number
  std::vector<Block> blocks_;
  bool inBlock_ = false;
  Block block_;
  CTextPiece loose_;
  CTextPiece paragraph_;
  int paragraphClass_ = -1;
  size_t paragraphContentAt_ = 0;
};

}  // namespace

SamiDocument ParseSami(const uint8_t* data, size_t size) {
  SamiDocument result;
  if (!data) size = 0;
  std::string converted;
  std::string_view doc = DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size),
                                        &converted, &result.encoding);
  CSamiReader(doc).Read(&result);
  return result;
}

}  // namespace velk
