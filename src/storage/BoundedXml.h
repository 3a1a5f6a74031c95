#pragma once
#include <QXmlStreamReader>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Reads XML handed in block by block with Qt's stream reader and refuses what
// a hostile file would use to cost memory or time: a document type with
// declarations of its own (entities that expand), a reference to an entity
// no one declared, elements nested deeper than maxDepth, one text, tag or
// comment longer than maxText, and more than maxBytes in all. Memory stays
// near maxText whatever the file.
struct TXmlLimits {
  int MaxDepth = 64;
  int64_t MaxText = 1 << 20;
  int64_t MaxBytes = int64_t{64} << 20;
};

// "1 MB" for a whole number of megabytes, else "1000 bytes".
std::string XmlSizeText(int64_t bytes);

class TBoundedXml {
 public:
  // Called for every token but the document type; the reader is positioned
  // on it. Characters come with text() whole or in parts.
  using TTokenHandler = std::function<void(const QXmlStreamReader& reader)>;

  TBoundedXml(TTokenHandler handler, TXmlLimits limits = {});

  // False once the input is refused; later blocks are ignored.
  bool Feed(const char* data, std::size_t size);
  // The input is complete: false when it ends early or was refused.
  bool Finish();
  // A handler's own refusal, as if the file broke a rule.
  void Refuse(std::string reason);

  bool Refused() const { return !error_.empty(); }
  // "line 3: ..." or a reason about the file as a whole.
  const std::string& Error() const { return error_; }
  int Depth() const { return depth_; }

 private:
  void ReadTokens();
  void Fail(const std::string& reason);

  QXmlStreamReader reader_;
  TTokenHandler handler_;
  TXmlLimits limits_;
  std::string error_;
  int depth_ = 0;
  int64_t fed_ = 0;
  // Bytes handed in since the last whole token: at most one slice more than
  // the reader holds of a token still open.
  int64_t pending_ = 0;
  // The length of the text read so far in a row of character tokens.
  int64_t textRun_ = 0;
  bool rootClosed_ = false;
};
