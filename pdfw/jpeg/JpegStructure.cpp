#include "pdfw/jpeg/JpegStructure.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/ExifOrientation.h"

namespace folvane::pdfw {

namespace {

constexpr unsigned char kSOF0 = 0xC0, kDHT = 0xC4, kJPG = 0xC8, kDAC = 0xCC, kRST0 = 0xD0,
                        kRST7 = 0xD7, kSOI = 0xD8, kEOI = 0xD9, kSOS = 0xDA, kAPP0 = 0xE0,
                        kAPP1 = 0xE1, kAPP2 = 0xE2, kAPP14 = 0xEE, kTEM = 0x01, kDQT = 0xDB,
                        kDNL = 0xDC, kDRI = 0xDD, kCOM = 0xFE;

constexpr std::size_t kScanChunk = 1 << 20;

unsigned be16(const unsigned char *p) {
    return static_cast<unsigned>(p[0] << 8 | p[1]);
}

bool isFrameMarker(unsigned char m) {
    return m >= kSOF0 && m <= 0xCF && m != kDHT && m != kJPG && m != kDAC;
}

// The markers a decoder accepts between the start of the image and the first scan.
bool knownBeforeScan(unsigned char m) {
    return isFrameMarker(m) || m == kDHT || m == kDAC || m == kDQT || m == kDRI || m == kDNL ||
           m == kSOS || m == kCOM || (m >= 0xE0 && m <= 0xEF);
}

class JpegReader {
public:
    explicit JpegReader(const ByteSource &file) : file_(file) {}

    JpegInfo read();

private:
    [[noreturn]] void malformed(const std::string &reason) const {
        fail(PDFW_SYNTAX_ERROR, damagedFile(file_.path(), "JPEG", reason));
    }
    [[noreturn]] void unsupported(const std::string &reason) const {
        fail(PDFW_TYPE_ERROR, unsupportedFile(file_.path(), "JPEG", reason));
    }
    [[noreturn]] void tooLarge() const {
        Problem problem = problemWith(PDFW_PROBLEM_JPEG_TOO_LARGE, file_.path());
        problem.format = "JPEG";
        problem.numbers[0] = info_.width;
        problem.numbers[1] = info_.height;
        fail(PDFW_OVERFLOW_ERROR, std::move(problem));
    }
    [[noreturn]] void segmentPastEnd() const;
    std::vector<unsigned char> segment(std::uint64_t offset, unsigned length, const char *what);
    void readFrame(unsigned char marker, const std::vector<unsigned char> &body);
    void readScanHeader(const std::vector<unsigned char> &body);
    void readAdobe(const std::vector<unsigned char> &body);
    void readJfif(const std::vector<unsigned char> &body);
    void readHuffmanTables(const std::vector<unsigned char> &body);
    void readQuantisationTables(const std::vector<unsigned char> &body);
    void readSegmentBetweenScans(unsigned char marker, std::uint64_t body, unsigned length);
    void readRestartInterval(const std::vector<unsigned char> &body);
    void noteRestart(unsigned char marker);
    std::uint64_t findEnd(std::uint64_t scanData);
    std::uint64_t firstScanUnits() const;
    void checkRestarts() const;
    void checkDataSuffices() const;

    const ByteSource &file_;
    JpegInfo info_;
    JpegIccSegments icc_;
    bool frame_ = false;
    bool exifSeen_ = false;
    bool progressive_ = false;
    unsigned maxH_ = 1, maxV_ = 1; // largest sampling factors
    std::vector<unsigned char> componentIds_;
    std::vector<unsigned char> componentSampling_; // h << 4 | v, as the frame header has them
    unsigned restartInterval_ = 0;                 // MCUs between restart markers; 0: none
    unsigned scans_ = 0;                           // scan headers read
    std::size_t firstScanComponent_ = 0;           // the component of a first scan that holds one
    unsigned firstScanComponents_ = 0;
    std::uint64_t restarts_ = 0; // restart markers in the first scan
    bool restartsOutOfOrder_ = false;
    std::vector<unsigned char> componentQuant_;
    bool quantDefined_[4] = {false, false, false, false};
};

std::vector<unsigned char> JpegReader::segment(std::uint64_t offset, unsigned length,
                                               const char *what) {
    std::vector<unsigned char> body(length);
    file_.readExactly(offset, body.data(), length, what);
    return body;
}

// A segment whose length runs past the end of the file. A file that still ends in its
// end-of-image marker is not cut short: the length itself is damaged.
void JpegReader::segmentPastEnd() const {
    unsigned char tail[2] = {0, 0};
    const std::uint64_t size = file_.size();
    if (size >= 2 && file_.readAt(size - 2, tail, 2) == 2 && tail[0] == 0xFF && tail[1] == kEOI) {
        malformed("a damaged marker segment, whose length runs past the end of the file");
    }
    malformed("truncated inside a marker segment");
}

JpegInfo JpegReader::read() {
    unsigned char head[2];
    if (file_.readAt(0, head, 2) != 2 || head[0] != 0xFF || head[1] != kSOI) {
        malformed("it does not start with the start-of-image marker");
    }
    std::uint64_t pos = 2;
    for (;;) {
        unsigned char marker[2];
        file_.readExactly(pos, marker, 2, "the marker segments");
        if (marker[0] != 0xFF) {
            malformed("no marker at byte " + std::to_string(pos));
        }
        if (marker[1] == 0xFF) { // fill byte before a marker
            ++pos;
            continue;
        }
        unsigned char m = marker[1];
        pos += 2;
        if (m == kTEM) {
            continue;
        }
        if (!knownBeforeScan(m)) {
            malformed("unexpected marker 0xFF" + std::string(1, "0123456789ABCDEF"[m >> 4]) +
                      "0123456789ABCDEF"[m & 15] + " before the first scan");
        }
        unsigned char lengthBytes[2];
        file_.readExactly(pos, lengthBytes, 2, "a segment length");
        unsigned length = be16(lengthBytes);
        if (length < 2) {
            malformed("a segment length below 2 at byte " + std::to_string(pos));
        }
        std::uint64_t body = pos + 2;
        unsigned bodyLength = length - 2;
        if (body + bodyLength > file_.size()) {
            segmentPastEnd();
        }
        if (isFrameMarker(m)) {
            readFrame(m, segment(body, bodyLength, "the frame header"));
        } else if (m == kAPP1 && !exifSeen_ && bodyLength >= 6) {
            std::vector<unsigned char> app = segment(body, bodyLength, "an APP1 segment");
            if (std::memcmp(app.data(), "Exif\0\0", 6) == 0) {
                exifSeen_ = true;
                info_.orientation = exifOrientation(app.data() + 6, app.size() - 6);
            }
        } else if (m == kAPP0 && info_.dpiX == 0) {
            readJfif(segment(body, bodyLength, "an APP0 segment"));
        } else if (m == kAPP2) {
            std::vector<unsigned char> app = segment(body, bodyLength, "an APP2 segment");
            icc_.add(app.data(), app.size());
        } else if (m == kAPP14) {
            readAdobe(segment(body, bodyLength, "an APP14 segment"));
        } else if (m == kDHT) {
            readHuffmanTables(segment(body, bodyLength, "a Huffman table"));
        } else if (m == kDQT) {
            readQuantisationTables(segment(body, bodyLength, "a quantisation table"));
        } else if (m == kDRI) {
            readRestartInterval(segment(body, bodyLength, "a restart interval"));
        } else if (m == kSOS) {
            readScanHeader(segment(body, bodyLength, "the scan header"));
            info_.length = findEnd(body + bodyLength);
            checkRestarts();
            checkDataSuffices();
            icc_.join(info_.iccProfile, info_.iccProblem);
            return info_;
        }
        pos = body + bodyLength;
    }
}

void JpegReader::readFrame(unsigned char m, const std::vector<unsigned char> &body) {
    if (frame_) {
        malformed("more than one frame header");
    }
    frame_ = true;
    if (body.size() < 6) {
        malformed("a frame header too short");
    }
    unsigned precision = body[0];
    info_.height = be16(&body[1]);
    info_.width = be16(&body[3]);
    unsigned count = body[5];
    if (body.size() != 6 + 3 * count) {
        malformed("a frame header of the wrong length");
    }
    if (m == 0xC3 || m == 0xCB) {
        unsupported("lossless JPEG, which PDF cannot carry and this engine cannot convert");
    }
    if ((m >= 0xC5 && m <= 0xC7) || m >= 0xCD) {
        unsupported("hierarchical JPEG, which PDF cannot carry and this engine cannot convert");
    }
    if (precision == 12) {
        unsupported("12-bit JPEG, which PDF cannot carry and this engine cannot convert "
                    "without loss");
    }
    if (precision != 8) {
        malformed("sample precision " + std::to_string(precision));
    }
    if (info_.width == 0) {
        malformed("width 0");
    }
    if (info_.height == 0) {
        unsupported("JPEG whose height is given by a DNL marker after the scan, which PDF "
                    "cannot carry");
    }
    if (info_.width > PDFW_MAX_JPEG_SIDE || info_.height > PDFW_MAX_JPEG_SIDE) {
        tooLarge();
    }
    if (count != 1 && count != 3 && count != 4) {
        unsupported(std::to_string(count) + "-component JPEG (PDF carries 1, 3 or 4)");
    }
    for (unsigned i = 0; i < count; ++i) {
        unsigned sampling = body[6 + 3 * i + 1];
        unsigned h = sampling >> 4, v = sampling & 15;
        if (h < 1 || h > 4 || v < 1 || v > 4 || body[6 + 3 * i + 2] > 3) {
            malformed("bad sampling factors or quantisation table in the frame header");
        }
        maxH_ = std::max(maxH_, h);
        maxV_ = std::max(maxV_, v);
    }
    info_.components = static_cast<int>(count);
    for (unsigned i = 0; i < count; ++i) {
        unsigned sampling = body[6 + 3 * i + 1];
        std::uint64_t columns = (std::uint64_t{info_.width} * (sampling >> 4) + maxH_ - 1) / maxH_;
        std::uint64_t rows = (std::uint64_t{info_.height} * (sampling & 15) + maxV_ - 1) / maxV_;
        info_.blocks += ((columns + 7) / 8) * ((rows + 7) / 8);
    }
    // A picture of one component is coded in single blocks, whatever its sampling factor.
    info_.blockWidth = count == 1 ? 8 : 8 * maxH_;
    info_.blockHeight = count == 1 ? 8 : 8 * maxV_;
    progressive_ = m == 0xC2 || m == 0xCA;
    for (unsigned i = 0; i < count; ++i) {
        componentIds_.push_back(body[6 + 3 * i]);
        componentQuant_.push_back(body[6 + 3 * i + 2]);
        componentSampling_.push_back(body[6 + 3 * i + 1]);
    }
    info_.rgbComponentIds = count == 3 && body[6] == 'R' && body[9] == 'G' && body[12] == 'B';
    info_.coding = m >= 0xC9 ? JpegCoding::Arithmetic : JpegCoding::Huffman;
}

void JpegReader::readScanHeader(const std::vector<unsigned char> &body) {
    if (!frame_) {
        malformed("a scan before the frame header");
    }
    if (body.empty() || body[0] < 1 || body[0] > 4 || body.size() != 4u + 2u * body[0]) {
        malformed("a scan header of the wrong length");
    }
    unsigned count = body[0];
    if (++scans_ == 1) {
        firstScanComponents_ = count;
    }
    for (unsigned i = 0; i < count; ++i) {
        unsigned char id = body[1 + 2 * i];
        unsigned char tables = body[2 + 2 * i];
        auto component = std::find(componentIds_.begin(), componentIds_.end(), id);
        if (component == componentIds_.end() || (tables >> 4) > 3 || (tables & 15) > 3) {
            malformed("a scan header naming an unknown component or table");
        }
        if (scans_ == 1) {
            firstScanComponent_ = static_cast<std::size_t>(component - componentIds_.begin());
        }
        if (!quantDefined_[componentQuant_[component - componentIds_.begin()]]) {
            malformed("a scan before its quantisation table");
        }
    }
    unsigned first = body[1 + 2 * count], last = body[2 + 2 * count];
    unsigned high = body[3 + 2 * count] >> 4, low = body[3 + 2 * count] & 15;
    bool valid = progressive_ ? first <= last && last <= 63 && (first != 0 || last == 0) &&
                                    (first == 0 || count == 1) && high <= 13 && low <= 13
                              : first == 0 && last == 63 && high == 0 && low == 0;
    if (!valid) {
        malformed("a scan header with bad spectral selection or approximation");
    }
}

// Each table: class and number, 16 code counts, the symbols; the counts must describe a
// prefix code (no length holds more codes than it has room for).
void JpegReader::readHuffmanTables(const std::vector<unsigned char> &body) {
    std::size_t at = 0;
    while (at < body.size()) {
        if (body.size() - at < 17 || (body[at] >> 4) > 1 || (body[at] & 15) > 3) {
            malformed("a bad Huffman table");
        }
        std::uint32_t code = 0, symbols = 0;
        for (int length = 1; length <= 16; ++length) {
            code += body[at + length];
            symbols += body[at + length];
            if (code >= (1u << length)) {
                malformed("a Huffman table with more codes than fit");
            }
            code <<= 1;
        }
        if (symbols > 256 || body.size() - at - 17 < symbols) {
            malformed("a bad Huffman table");
        }
        bool dc = (body[at] >> 4) == 0;
        for (std::uint32_t i = 0; dc && i < symbols; ++i) {
            if (body[at + 17 + i] > 15) {
                malformed("a DC Huffman table with a symbol above 15");
            }
        }
        at += 17 + symbols;
    }
}

void JpegReader::readQuantisationTables(const std::vector<unsigned char> &body) {
    std::size_t at = 0;
    while (at < body.size()) {
        unsigned precision = body[at] >> 4;
        std::size_t size = 1 + 64 * (precision + 1);
        if (precision > 1 || (body[at] & 15) > 3 || body.size() - at < size) {
            malformed("a bad quantisation table");
        }
        quantDefined_[body[at] & 15] = true;
        at += size;
    }
}

void JpegReader::readRestartInterval(const std::vector<unsigned char> &body) {
    if (body.size() != 2) {
        malformed("a restart interval segment of the wrong length");
    }
    if (scans_ == 0) {
        restartInterval_ = be16(body.data());
    }
}

// Restart markers count 0 to 7 and round again.
void JpegReader::noteRestart(unsigned char marker) {
    if (scans_ != 1) {
        return;
    }
    if (marker - kRST0 != static_cast<int>(restarts_ % 8)) {
        restartsOutOfOrder_ = true;
    }
    ++restarts_;
}

// The minimum coded units of the first scan: blocks of its one component, or of all of them
// interleaved.
std::uint64_t JpegReader::firstScanUnits() const {
    if (firstScanComponents_ > 1) {
        return ((std::uint64_t{info_.width} + 8 * maxH_ - 1) / (8 * maxH_)) *
               ((std::uint64_t{info_.height} + 8 * maxV_ - 1) / (8 * maxV_));
    }
    const unsigned h = componentSampling_[firstScanComponent_] >> 4;
    const unsigned v = componentSampling_[firstScanComponent_] & 15;
    const std::uint64_t columns = (std::uint64_t{info_.width} * h + maxH_ - 1) / maxH_;
    const std::uint64_t rows = (std::uint64_t{info_.height} * v + maxV_ - 1) / maxV_;
    return ((columns + 7) / 8) * ((rows + 7) / 8);
}

// In a sequential file of one scan, a restart marker follows every interval but the last, so
// the frame size says how many there are: a frame header that claims another size than the
// data hold, or data damaged at a marker, shows here without decoding anything.
void JpegReader::checkRestarts() const {
    if (restartInterval_ == 0 || scans_ != 1 || progressive_) {
        return;
    }
    const std::uint64_t expected = (firstScanUnits() + restartInterval_ - 1) / restartInterval_ - 1;
    if (restartsOutOfOrder_ || restarts_ != expected) {
        malformed("its image data do not match its frame header: " + std::to_string(restarts_) +
                  (restartsOutOfOrder_ ? " restart markers, out of order," : " restart markers") +
                  " where " + std::to_string(info_.width) + " x " + std::to_string(info_.height) +
                  " pixels need " + std::to_string(expected));
    }
}

void JpegReader::readAdobe(const std::vector<unsigned char> &body) {
    if (body.size() >= 12 && std::memcmp(body.data(), "Adobe", 5) == 0) {
        info_.adobe = true;
        info_.adobeTransform = body[11];
    }
}

// The resolution of a JFIF header: its densities in dots per inch (unit 1) or centimetre (2);
// unit 0 states only the pixels' aspect, no size.
void JpegReader::readJfif(const std::vector<unsigned char> &body) {
    if (body.size() < 12 || std::memcmp(body.data(), "JFIF\0", 5) != 0) {
        return;
    }
    const int unit = body[7];
    const double x = be16(body.data() + 8);
    const double y = be16(body.data() + 10);
    if ((unit != 1 && unit != 2) || x == 0 || y == 0) {
        return;
    }
    const double perInch = unit == 2 ? 2.54 : 1.0;
    info_.dpiX = x * perInch;
    info_.dpiY = y * perInch;
}

void JpegReader::readSegmentBetweenScans(unsigned char m, std::uint64_t body, unsigned length) {
    if (m == kDHT) {
        readHuffmanTables(segment(body, length, "a Huffman table"));
    } else if (m == kDQT) {
        readQuantisationTables(segment(body, length, "a quantisation table"));
    } else if (m == kSOS) {
        readScanHeader(segment(body, length, "a scan header"));
    } else if (!(m == kDAC || m == kDRI || m == kDNL || m == kCOM || (m >= 0xE0 && m <= 0xEF))) {
        malformed("unexpected marker 0xFF" + std::string(1, "0123456789ABCDEF"[m >> 4]) +
                  "0123456789ABCDEF"[m & 15] + " in the image data");
    }
}

// Huffman coding spends at least one bit on every 8x8 block's DC value, and every component has
// at least one block per minimum coded unit, so a file with fewer bits than units cannot hold
// the picture its frame header claims (a few hundred bytes claiming 60000 x 60000 pixels).
// Arithmetic coding can spend less; the transcoder decodes those data and finds out.
void JpegReader::checkDataSuffices() const {
    if (info_.coding != JpegCoding::Huffman) {
        return;
    }
    const std::uint64_t columns = (std::uint64_t{info_.width} + 8 * maxH_ - 1) / (8 * maxH_);
    const std::uint64_t rows = (std::uint64_t{info_.height} + 8 * maxV_ - 1) / (8 * maxV_);
    if (info_.length < (columns * rows + 7) / 8) {
        malformed("too little image data for " + std::to_string(info_.width) + " x " +
                  std::to_string(info_.height) + " pixels");
    }
}

// The end of the first end-of-image marker. The entropy-coded data is searched for markers
// (0xFF not followed by a stuffed 0, a fill byte or a restart marker); the segments between
// scans are checked like those before the first one. Data after the marker (a camera's
// preview picture, padding) is left out.
std::uint64_t JpegReader::findEnd(std::uint64_t scanData) {
    std::vector<unsigned char> chunk(file_.bytes() ? 0 : kScanChunk);
    std::uint64_t pos = scanData;
    for (;;) {
        // Bytes in memory are searched where they are; a file is read a chunk at a time.
        const unsigned char *data = chunk.data();
        std::size_t got = 0;
        if (file_.bytes()) {
            data = file_.bytes() + pos;
            got = pos < file_.size() ? static_cast<std::size_t>(file_.size() - pos) : 0;
        } else {
            got = file_.readAt(pos, chunk.data(), chunk.size());
        }
        if (got < 2) {
            break;
        }
        std::size_t i = 0;
        std::uint64_t next = 0;
        while (i + 1 < got) {
            const void *hit = std::memchr(data + i, 0xFF, got - 1 - i);
            if (!hit) {
                i = got - 1;
                break;
            }
            i = static_cast<std::size_t>(static_cast<const unsigned char *>(hit) - data);
            unsigned char m = data[i + 1];
            if (m >= kRST0 && m <= kRST7) {
                noteRestart(m);
            }
            if (m == 0x00 || m == 0xFF || (m >= kRST0 && m <= kRST7)) {
                i += 1;
                continue;
            }
            if (m == kEOI) {
                return pos + i + 2;
            }
            unsigned char lengthBytes[2];
            file_.readExactly(pos + i + 2, lengthBytes, 2, "a segment length");
            unsigned length = be16(lengthBytes);
            if (length < 2) {
                malformed("a segment length below 2");
            }
            std::uint64_t body = pos + i + 4;
            if (body + length - 2 > file_.size()) {
                segmentPastEnd();
            }
            readSegmentBetweenScans(m, body, length - 2);
            next = body + length - 2;
            break;
        }
        if (next != 0) {
            pos = next;
            continue;
        }
        pos += i; // keep a trailing 0xFF for the next chunk
    }
    malformed("truncated: the end-of-image marker is missing");
}

} // namespace

void JpegIccSegments::add(const unsigned char *body, std::size_t size) {
    static const char kName[] = "ICC_PROFILE"; // with its terminating zero: 12 bytes
    if (size < 14 || std::memcmp(body, kName, sizeof kName) != 0) {
        return;
    }
    segments_.push_back({body[12], body[13], std::vector<unsigned char>(body + 14, body + size)});
}

void JpegIccSegments::join(std::vector<unsigned char> &profile, std::string &problem) const {
    profile.clear();
    problem.clear();
    if (segments_.empty()) {
        return;
    }
    const int count = segments_.front().count;
    std::vector<const Segment *> ordered(static_cast<std::size_t>(count), nullptr);
    for (const Segment &s : segments_) {
        if (s.count != count || s.sequence < 1 || s.sequence > count ||
            ordered[s.sequence - 1] != nullptr) {
            problem = "its segments are not numbered 1 to " + std::to_string(count) + " once each";
            return;
        }
        ordered[s.sequence - 1] = &s;
    }
    if (static_cast<int>(segments_.size()) != count) {
        problem = "it has " + std::to_string(segments_.size()) + " of its " +
                  std::to_string(count) + " segments";
        return;
    }
    for (const Segment *s : ordered) {
        profile.insert(profile.end(), s->data.begin(), s->data.end());
    }
}

JpegInfo inspectJpeg(const ByteSource &file) {
    return JpegReader(file).read();
}

} // namespace folvane::pdfw
