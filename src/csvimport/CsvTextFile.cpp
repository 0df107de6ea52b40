#include "csvimport/CsvTextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

namespace ab {

namespace {

constexpr char kEndOfText = '\x1A';

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// The bytes up to the first 0x1A: what text mode lets the reader see.
std::string_view UpToEndOfText(std::string_view bytes) { return bytes.substr(0, bytes.find(kEndOfText)); }

// The first line of the raw file without its line end, for trying Big5.
std::string_view FirstLine(std::string_view bytes) {
  std::string_view line = UpToEndOfText(bytes);
  line = line.substr(0, line.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The complete lines of the first piece, for trying Shift_JIS.
std::string_view WholeLines(std::string_view bytes) {
  const std::string_view text = UpToEndOfText(bytes);
  const std::size_t end = text.rfind('\n');
  return end == std::string_view::npos ? text : text.substr(0, end + 1);
}

// Japanese text has kana. Western text that happens to decode as Shift_JIS
// has none: kana need the lead bytes 0x82 and 0x83, rare quote marks there.
bool IsJapaneseText(std::string_view bytes) {
  const auto utf8 = DecodeStrictly(bytes, CsvCharset::ShiftJis);
  return utf8 && HasCodePointIn(*utf8, 0x3040, 0x30FF);
}

// Only a regular file of a bounded size is read; a FIFO or a device is
// refused without waiting for a writer or reading forever.
std::FILE* OpenRegularFile(const std::string& path, std::string* error) {
  if (error) *error = kCsvOpenErrorText;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular || static_cast<std::uint64_t>(info.st_size) > CsvTextFile::kMaxFileBytes) {
    if (regular && error) *error = kCsvTooLargeText;
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) ::close(fd);
  return file;
}

}  // namespace

bool CsvTextFile::Open(const std::string& path, const HeadingRowTest& isChineseHeadingRow, std::string* error) {
  Close();
  file_ = OpenRegularFile(path, error);
  if (!file_) return false;

  raw_.resize(kPieceBytes);
  raw_.resize(std::fread(raw_.data(), 1, kPieceBytes, file_));
  if (std::ferror(file_)) {
    Close();
    return false;
  }
  fileEnded_ = raw_.size() < kPieceBytes;

  std::string_view first = raw_;
  if (StartsWith(first, "\xEF\xBB\xBF")) {
    charset_ = CsvCharset::Utf8WithBom;
    first.remove_prefix(3);
  } else if (StartsWith(first, "\xFF\xFE")) {
    charset_ = CsvCharset::Utf16LE;
    first.remove_prefix(2);
  } else if (StartsWith(first, "\xFE\xFF")) {
    charset_ = CsvCharset::Utf16BE;
    first.remove_prefix(2);
  } else if (ValidUtf8FromHere(first)) {
    charset_ = CsvCharset::Utf8;
  } else {
    const auto asBig5 = DecodeStrictly(FirstLine(first), CsvCharset::Big5);
    const bool big5 = asBig5 && isChineseHeadingRow && isChineseHeadingRow(*asBig5);
    charset_ = big5                               ? CsvCharset::Big5
               : IsJapaneseText(WholeLines(first)) ? CsvCharset::ShiftJis
                                                   : CsvCharset::Windows1252;
  }

  if (!file_) return false;  // the rest of the file could not be read again

  if (charset_ != CsvCharset::Utf8 && charset_ != CsvCharset::Utf8WithBom) {
    decoder_ = std::make_unique<CharsetDecoder>(charset_);
    if (!decoder_->IsOpen()) {
      Close();
      return false;
    }
  }
  Deliver(first, fileEnded_);
  return true;
}

// Reads the rest of the file once to see whether all of it is UTF-8, then
// goes back to the end of the first piece. Leaves the file closed when it
// cannot go back.
bool CsvTextFile::ValidUtf8FromHere(std::string_view firstPiece) {
  Utf8Validator validator;
  const std::string_view seen = UpToEndOfText(firstPiece);
  validator.Feed(seen);
  if (seen.size() < firstPiece.size() || fileEnded_) return validator.Finish();

  std::string piece(kPieceBytes, '\0');
  bool ended = false;
  while (validator.Valid() && !ended) {
    const std::size_t n = std::fread(piece.data(), 1, kPieceBytes, file_);
    const std::string_view bytes = UpToEndOfText(std::string_view(piece.data(), n));
    validator.Feed(bytes);
    ended = n < kPieceBytes || bytes.size() < n;
  }
  if (std::fseek(file_, static_cast<long>(kPieceBytes), SEEK_SET) != 0) Close();
  return validator.Finish();
}

void CsvTextFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  decoder_.reset();
  raw_.clear();
  text_.clear();
  pos_ = 0;
  fileEnded_ = true;
  dataEnded_ = true;
}

void CsvTextFile::Deliver(std::string_view bytes, bool last) {
  text_.clear();
  pos_ = 0;
  if (decoder_)
    decoder_->Feed(bytes, last, text_);
  else
    text_.assign(bytes);
  dataEnded_ = false;
}

bool CsvTextFile::Refill() {
  if (!file_ || fileEnded_) return false;
  raw_.resize(kPieceBytes);
  raw_.resize(std::fread(raw_.data(), 1, kPieceBytes, file_));
  fileEnded_ = raw_.size() < kPieceBytes;
  Deliver(raw_, fileEnded_);
  return true;
}

int CsvTextFile::PeekTextByte() {
  while (pos_ == text_.size())
    if (!Refill()) return -1;
  return static_cast<unsigned char>(text_[pos_]);
}

int CsvTextFile::NextByte() {
  if (dataEnded_) return -1;
  const int c = PeekTextByte();
  if (c < 0 || c == kEndOfText) {
    Close();
    return -1;
  }
  ++pos_;
  if (c == '\r' && PeekTextByte() == '\n') {
    ++pos_;
    return '\n';
  }
  return c;
}

}  // namespace ab
