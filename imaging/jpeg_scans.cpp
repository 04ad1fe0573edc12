// JPEG segments walked to EOI, and every Huffman-coded scan decoded as libjpeg decodes it,
// without the inverse transform: only which coefficients are not zero is kept (for the
// refining scans of a progressive picture). A scan must give all of its blocks with codes
// its tables hold, before the next marker; each restart interval must end at the restart
// marker next in turn. Bytes left over between a scan's last block and the next marker
// are ignored, as the decoders ignore them. Arithmetic-coded scans are stepped over.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/jpeg_entropy.h"
#include "imaging/jpeg_standard_tables.h"
#include "imaging/picture_data.h"

namespace korvanth::imaging {

namespace {

struct Component {
  int id = 0;
  int h = 1;
  int v = 1;
  std::int64_t blocksWide = 0;
  std::int64_t blocksHigh = 0;
  // Progressive pictures: for each block, which of its coefficients 1-63 are not zero.
  std::vector<std::uint64_t> nonzero;
};

struct Frame {
  bool seen = false;
  bool progressive = false;
  bool arithmetic = false;
  std::int64_t width = 0;
  std::int64_t height = 0;
  int maxH = 1;
  int maxV = 1;
  std::vector<Component> components;
};

struct ScanComponent {
  Component* component = nullptr;
  const HuffmanTable* dc = nullptr;
  const HuffmanTable* ac = nullptr;
};

struct Scan {
  std::vector<ScanComponent> components;
  int ss = 0, se = 63, ah = 0, al = 0;
};

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

bool ReadFrame(ByteReader segment, int marker, Frame& frame) {
  segment.Skip(1);  // precision: the header check admits 8 only
  frame.height = segment.U16BE();
  frame.width = segment.U16BE();
  const std::uint32_t count = segment.U8();
  if (!segment.ok() || count < 1 || count > 4 || frame.width == 0 || frame.height == 0)
    return false;
  frame.seen = true;
  frame.progressive = marker == 0xC2 || marker == 0xCA;
  frame.arithmetic = marker >= 0xC9;
  for (std::uint32_t i = 0; i < count; ++i) {
    Component c;
    c.id = static_cast<int>(segment.U8());
    const std::uint32_t sampling = segment.U8();
    segment.Skip(1);
    c.h = static_cast<int>(sampling >> 4);
    c.v = static_cast<int>(sampling & 15);
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return false;
    frame.maxH = std::max(frame.maxH, c.h);
    frame.maxV = std::max(frame.maxV, c.v);
    frame.components.push_back(c);
  }
  if (!segment.ok()) return false;
  for (Component& c : frame.components) {
    c.blocksWide = CeilDiv(frame.width * c.h, frame.maxH * 8);
    c.blocksHigh = CeilDiv(frame.height * c.v, frame.maxV * 8);
    if (frame.progressive && !frame.arithmetic)
      c.nonzero.assign(static_cast<std::size_t>(c.blocksWide * c.blocksHigh), 0);
  }
  return true;
}

// The scan header; false for one libjpeg refuses (or, for a sequential frame, one it
// warns about: scan parameters other than a whole block's).
bool ReadScan(ByteReader segment, Frame& frame, const HuffmanTables& tables, Scan& scan) {
  const std::uint32_t count = segment.U8();
  if (!segment.ok() || count < 1 || count > 4) return false;
  int blocksInMcu = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const int id = static_cast<int>(segment.U8());
    const std::uint32_t selectors = segment.U8();
    ScanComponent entry;
    for (Component& c : frame.components)
      if (c.id == id) {
        entry.component = &c;
        break;
      }
    if (entry.component == nullptr) return false;
    for (const ScanComponent& earlier : scan.components)
      if (earlier.component == entry.component) return false;
    entry.dc = (selectors >> 4) < 4 ? &tables.dc[selectors >> 4] : nullptr;
    entry.ac = (selectors & 15) < 4 ? &tables.ac[selectors & 15] : nullptr;
    if (entry.dc == nullptr || entry.ac == nullptr) return false;
    blocksInMcu += entry.component->h * entry.component->v;
    scan.components.push_back(entry);
  }
  scan.ss = static_cast<int>(segment.U8());
  scan.se = static_cast<int>(segment.U8());
  const std::uint32_t approximation = segment.U8();
  scan.ah = static_cast<int>(approximation >> 4);
  scan.al = static_cast<int>(approximation & 15);
  if (!segment.ok() || segment.remaining() != 0 || (count > 1 && blocksInMcu > 10)) return false;
  if (!frame.progressive) return scan.ss == 0 && scan.se == 63 && scan.ah == 0 && scan.al == 0;
  const bool dcBand = scan.ss == 0;
  if (dcBand ? scan.se != 0 : scan.ss > scan.se || scan.se > 63 || count != 1) return false;
  if (scan.ah != 0 && scan.al != scan.ah - 1) return false;
  return scan.al <= 13;
}

// The tables a scan decodes with must have been defined.
bool TablesDefined(const Frame& frame, const Scan& scan) {
  const bool needsDc = !frame.progressive || (scan.ss == 0 && scan.ah == 0);
  const bool needsAc = !frame.progressive || scan.ss > 0;
  for (const ScanComponent& c : scan.components)
    if ((needsDc && !c.dc->defined) || (needsAc && !c.ac->defined)) return false;
  return true;
}

// Decodes the blocks of one scan (JPEG Annex G for the progressive ones, as libjpeg).
class ScanDecoder {
 public:
  ScanDecoder(ScanBits& bits, const Frame& frame, const Scan& scan)
      : bits_(bits), frame_(frame), scan_(scan) {}

  bool Block(const ScanComponent& c, std::int64_t x, std::int64_t y) {
    if (!frame_.progressive) return Dc(c) && AcSequential(c);
    if (scan_.ss == 0) return scan_.ah == 0 ? Dc(c) : bits_.Skip(1);
    std::uint64_t& nonzero =
        c.component->nonzero[static_cast<std::size_t>(y * c.component->blocksWide + x)];
    return scan_.ah == 0 ? AcFirst(c, nonzero) : AcRefine(c, nonzero);
  }
  void Restart() { eobRun_ = 0; }

 private:
  static std::uint64_t Bit(int k) { return std::uint64_t{1} << std::min(k, 63); }

  bool Dc(const ScanComponent& c) {
    const int size = bits_.Decode(*c.dc);
    return size >= 0 && bits_.Skip(size);
  }
  bool AcSequential(const ScanComponent& c) {
    for (int k = 1; k < 64; ++k) {
      const int rs = bits_.Decode(*c.ac);
      if (rs < 0) return false;
      const int run = rs >> 4;
      const int size = rs & 15;
      if (size != 0) {
        k += run;
        if (!bits_.Skip(size)) return false;
      } else if (run == 15) {
        k += 15;
      } else {
        break;
      }
    }
    return true;
  }
  bool AcFirst(const ScanComponent& c, std::uint64_t& nonzero) {
    if (eobRun_ > 0) {
      --eobRun_;
      return true;
    }
    for (int k = scan_.ss; k <= scan_.se; ++k) {
      const int rs = bits_.Decode(*c.ac);
      if (rs < 0) return false;
      const int run = rs >> 4;
      const int size = rs & 15;
      if (size != 0) {
        k += run;
        if (!bits_.Skip(size)) return false;
        nonzero |= Bit(k);
      } else if (run == 15) {
        k += 15;
      } else {
        if (!StartEobRun(run)) return false;
        --eobRun_;
        break;
      }
    }
    return true;
  }
  bool AcRefine(const ScanComponent& c, std::uint64_t& nonzero) {
    int k = scan_.ss;
    if (eobRun_ == 0) {
      for (; k <= scan_.se; ++k) {
        const int rs = bits_.Decode(*c.ac);
        if (rs < 0) return false;
        int run = rs >> 4;
        const int size = rs & 15;
        if (size != 0) {
          if (size != 1 || !bits_.Skip(1)) return false;  // a new coefficient of ±1
        } else if (run != 15) {
          if (!StartEobRun(run)) return false;
          break;  // the rest of this block goes with the run
        }
        // Past the coefficients already set (a correction bit each) and `run` zero ones.
        for (; k <= scan_.se; ++k) {
          if ((nonzero & Bit(k)) != 0) {
            if (!bits_.Skip(1)) return false;
          } else if (--run < 0) {
            break;
          }
        }
        if (size != 0) nonzero |= Bit(k);
      }
    }
    if (eobRun_ > 0) {
      for (; k <= scan_.se; ++k)
        if ((nonzero & Bit(k)) != 0 && !bits_.Skip(1)) return false;
      --eobRun_;
    }
    return true;
  }
  bool StartEobRun(int run) {
    eobRun_ = std::int64_t{1} << run;
    if (run == 0) return true;
    const std::int32_t more = bits_.Get(run);
    if (more < 0) return false;
    eobRun_ += more;
    return true;
  }

  ScanBits& bits_;
  const Frame& frame_;
  const Scan& scan_;
  std::int64_t eobRun_ = 0;
};

// The scan's blocks in their order: MCU by MCU, each component's blocks of the MCU row by
// row where it holds more than one component, else the component's own blocks.
bool DecodeScan(ScanBits& bits, const Frame& frame, const Scan& scan,
                std::int64_t restartInterval) {
  const bool interleaved = scan.components.size() > 1;
  const Component& only = *scan.components.front().component;
  const std::int64_t mcusWide =
      interleaved ? CeilDiv(frame.width, frame.maxH * 8) : only.blocksWide;
  const std::int64_t mcusHigh =
      interleaved ? CeilDiv(frame.height, frame.maxV * 8) : only.blocksHigh;
  ScanDecoder decoder(bits, frame, scan);
  std::int64_t restarts = 0;
  for (std::int64_t mcu = 0; mcu < mcusWide * mcusHigh; ++mcu) {
    if (restartInterval > 0 && mcu > 0 && mcu % restartInterval == 0) {
      if (!bits.ended()) bits.SkipToMarker();
      if (bits.marker() != 0xD0 + restarts % 8) return false;
      ++restarts;
      bits.Restart();
      decoder.Restart();
    }
    const std::int64_t x = mcu % mcusWide;
    const std::int64_t y = mcu / mcusWide;
    for (const ScanComponent& c : scan.components) {
      if (!interleaved) {
        if (!decoder.Block(c, x, y)) return false;
        continue;
      }
      for (int by = 0; by < c.component->v; ++by)
        for (int bx = 0; bx < c.component->h; ++bx)
          if (!decoder.Block(c, x * c.component->h + bx, y * c.component->v + by)) return false;
    }
  }
  return true;
}

// A DQT segment of whole tables: 64 entries of one byte, or of two (precision 1).
// libjpeg-turbo refuses any other length, where IJG's libjpeg 9 (under Wine) takes a
// short table and reads on.
bool QuantizationTablesWhole(ByteReader segment) {
  while (segment.remaining() > 0) {
    const std::uint32_t which = segment.U8();
    if ((which >> 4) > 1 || (which & 15) > 3 || !segment.Skip(64u << (which >> 4))) return false;
  }
  return true;
}

// The next marker: stray bytes (and FF 00) before it are skipped, as libjpeg skips them.
int NextMarker(ByteStream& bytes) {
  for (;;) {
    int c = bytes.Next();
    while (c != 0xFF && c >= 0) c = bytes.Next();
    while (c == 0xFF) c = bytes.Next();
    if (c != 0) return c;  // a marker, or -1 at the end
  }
}

}  // namespace

DataVerdict JpegScansAreWhole(FileReader& file) {
  if (!file.Seek(2)) return DataVerdict::Damaged;
  ByteStream bytes(file);
  Frame frame;
  HuffmanTables tables;
  bool firstScan = true;
  std::int64_t restartInterval = 0;
  std::vector<std::uint8_t> storage;
  int pending = -1;
  for (;;) {
    const int marker = pending >= 0 ? pending : NextMarker(bytes);
    pending = -1;
    if (marker < 0 || marker == 0xD8) return DataVerdict::Damaged;  // no EOI, or a second SOI
    if (marker == 0xD9) return DataVerdict::Whole;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    std::vector<std::uint8_t> lengthBytes;
    if (!bytes.Read(2, lengthBytes)) return DataVerdict::Damaged;
    const std::uint32_t length = ByteReader(lengthBytes).U16BE();
    if (length < 2 || !bytes.Read(length - 2, storage)) return DataVerdict::Damaged;
    ByteReader segment(storage);
    if (marker == 0xC4) {  // Huffman tables
      if (!ReadHuffmanTables(segment, tables, false)) return DataVerdict::Damaged;
    } else if (marker == 0xDB) {  // quantization tables
      if (!QuantizationTablesWhole(segment)) return DataVerdict::Damaged;
    } else if (marker == 0xDD) {  // restart interval
      restartInterval = segment.U16BE();
      if (!segment.ok() || segment.remaining() != 0) return DataVerdict::Damaged;
    } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
               marker != 0xCC) {
      // The frame: the header check admitted one of a kind that is read.
      if (frame.seen || !ReadFrame(segment, marker, frame)) return DataVerdict::Damaged;
    } else if (marker == 0xDA) {
      // libjpeg gives a sequential picture the standard tables 0 and 1 it left undefined
      // when its decoding starts (only IJG's libjpeg 9 gives them to a progressive one).
      if (firstScan && frame.seen && !frame.progressive) {
        ByteReader standard(kStandardHuffmanTables);
        ReadHuffmanTables(standard, tables, true);
      }
      firstScan = false;
      Scan scan;
      if (!frame.seen || !ReadScan(segment, frame, tables, scan)) return DataVerdict::Damaged;
      if (frame.arithmetic) continue;  // stepped over to the next marker
      if (!TablesDefined(frame, scan)) return DataVerdict::Damaged;
      ScanBits bits(bytes);
      if (!DecodeScan(bits, frame, scan, restartInterval)) return DataVerdict::Damaged;
      if (bits.ended()) {
        if (bits.marker() < 0) return DataVerdict::Damaged;
        pending = bits.marker();
      }
    }
  }
}

}  // namespace korvanth::imaging
