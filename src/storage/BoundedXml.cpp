#include "BoundedXml.h"

#include <QByteArray>
#include <algorithm>

namespace {

// Blocks are handed to the reader in slices this big, so that a token still
// open after a slice is known to have begun within the bytes counted since.
constexpr std::size_t kSlice = 16 * 1024;

}  // namespace

std::string XmlSizeText(int64_t bytes) {
  if (bytes % (1 << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  return std::to_string(bytes) + " bytes";
}

TBoundedXml::TBoundedXml(TTokenHandler handler, TXmlLimits limits) : handler_(std::move(handler)), limits_(limits) {
  // Never resolve anything outside the file.
  reader_.setEntityResolver(nullptr);
}

void TBoundedXml::Fail(const std::string& reason) {
  if (!error_.empty()) return;
  error_ = reader_.lineNumber() > 0 ? "line " + std::to_string(reader_.lineNumber()) + ": " + reason : reason;
}

void TBoundedXml::Refuse(std::string reason) { Fail(reason); }

bool TBoundedXml::Feed(const char* data, std::size_t size) {
  while (size > 0 && !Refused()) {
    const std::size_t slice = std::min(size, kSlice);
    fed_ += static_cast<int64_t>(slice);
    if (fed_ > limits_.MaxBytes) {
      Fail("the file is larger than the " + XmlSizeText(limits_.MaxBytes) + " read here");
      break;
    }
    pending_ += static_cast<int64_t>(slice);
    reader_.addData(QByteArray(data, static_cast<qsizetype>(slice)));
    data += slice;
    size -= slice;
    ReadTokens();
    if (!Refused() && pending_ > limits_.MaxText + static_cast<int64_t>(kSlice))
      Fail("a text, tag or comment longer than " + XmlSizeText(limits_.MaxText) + ", more than a word list needs");
  }
  return !Refused();
}

void TBoundedXml::ReadTokens() {
  while (!Refused()) {
    const QXmlStreamReader::TokenType token = reader_.readNext();
    if (token == QXmlStreamReader::Invalid) {
      if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError) return;  // wait for more
      Fail("not well-formed XML: " + reader_.errorString().toStdString());
      return;
    }
    // Whatever the token, the bytes before it are done with; what remains
    // lies within the last slice.
    pending_ = std::min<int64_t>(pending_, static_cast<int64_t>(kSlice));
    if (token != QXmlStreamReader::Characters) textRun_ = 0;
    switch (token) {
      case QXmlStreamReader::DTD: {
        // A document type naming an outside file (as KDE's files do) is
        // fine: nothing outside is read. Declarations inside are refused.
        const bool internal = reader_.text().contains(u'[') || !reader_.entityDeclarations().isEmpty() ||
                              !reader_.notationDeclarations().isEmpty();
        if (internal)
          Fail("the file declares a document type with entities or other declarations of its own; such files are "
               "refused, as they can expand to any size");
        continue;
      }
      case QXmlStreamReader::EntityReference:
        Fail("the entity \"&" + reader_.name().toString().toStdString() + ";\" is not defined");
        return;
      case QXmlStreamReader::StartElement:
        if (++depth_ > limits_.MaxDepth) {
          Fail("elements are nested deeper than " + std::to_string(limits_.MaxDepth) + " levels");
          return;
        }
        break;
      case QXmlStreamReader::Characters:
        textRun_ += reader_.text().size();
        if (textRun_ > limits_.MaxText) {
          Fail("a text longer than " + XmlSizeText(limits_.MaxText) + ", more than a word list needs");
          return;
        }
        break;
      default:
        break;
    }
    handler_(reader_);
    if (token == QXmlStreamReader::EndElement && --depth_ == 0) rootClosed_ = true;
  }
}

bool TBoundedXml::Finish() {
  if (Refused()) return false;
  ReadTokens();
  if (Refused()) return false;
  if (!rootClosed_) {
    error_ = fed_ == 0 ? "the file is empty" : "the file ends in the middle of its XML (is it cut short?)";
    return false;
  }
  return true;
}
