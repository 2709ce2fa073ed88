#include "lang/pack_decoder.h"

#include <array>
#include <bit>
#include <cstring>

PackMemory packMemory;

namespace {

constexpr int kRingMask = PackDecoder::kRingSize - 1;
constexpr int kPositionCount = PackDecoder::kRingSize;
constexpr uint32_t kQ2 = PackDecoder::kQ2;

// The static position model: distance slot i weighs 10000 / (i + 200), so near matches are
// cheap. Entry i is the total weight of the slots after i; entry 0 is the whole.
constexpr std::array<uint16_t, kPositionCount + 1> MakePositionCumulative() {
    std::array<uint16_t, kPositionCount + 1> cumulative{};
    for (int i = kPositionCount; i >= 1; --i) {
        cumulative[i - 1] = static_cast<uint16_t>(cumulative[i] + 10000 / (i + 200));
    }
    return cumulative;
}
constexpr std::array<uint16_t, kPositionCount + 1> kPositionCumulative = MakePositionCumulative();
constexpr uint32_t kPositionTotal = kPositionCumulative[0];

// Finding a position by bisecting all 4096 slots costs twelve dependent steps. The index
// instead gives, for each run of four targets, the position of the run's highest target;
// every slot weighs at least 2, so a run spans at most three positions and the answer is
// at most two slots further on.
constexpr int kIndexShift = 2;
constexpr int kIndexSteps = 2;
constexpr int kIndexSize = (kPositionTotal >> kIndexShift) + 1;

struct PositionIndex {
    uint16_t firstPosition[kIndexSize];
};

// The position with cumulative[p] > target >= cumulative[p + 1], by walking the slots.
constexpr int PositionByWalking(uint32_t target, int from) {
    int position = from;
    while (kPositionCumulative[position + 1] > target) {
        ++position;
    }
    return position;
}

constexpr PositionIndex MakePositionIndex() {
    PositionIndex index{};
    int position = 0;
    for (int run = kIndexSize - 1; run >= 0; --run) {
        uint32_t highest = ((static_cast<uint32_t>(run) + 1) << kIndexShift) - 1;
        uint32_t target = highest < kPositionTotal ? highest : kPositionTotal - 1;
        position = PositionByWalking(target, position);
        index.firstPosition[run] = static_cast<uint16_t>(position);
    }
    return index;
}

// Const rather than constexpr: a compiler whose evaluation limits stop it simply builds the
// index when the program starts.
const PositionIndex kPositionIndex = MakePositionIndex();

// The position with cumulative[p] > target >= cumulative[p + 1], for target < the total.
inline int FindPosition(uint32_t target) {
    int position = kPositionIndex.firstPosition[target >> kIndexShift];
    for (int step = 0; step < kIndexSteps; ++step) {
        position += kPositionCumulative[position + 1] > target ? 1 : 0;
    }
    return position;
}

// Bits most significant first, kept 64 at a time. Fetching ahead changes nothing the decoder
// sees: a bit is the same whenever it is read, and bits past the end read as 1.
template <typename ByteSource>
class BitReader {
  public:
    explicit BitReader(ByteSource& bytes) : bytes_(bytes) {}

    // The next `count` bits (0..32) as a number.
    uint32_t Take(int count) {
        if (available_ < count) {
            Refill();
        }
        // Two shifts, so that taking no bits needs no shift by 64.
        auto taken = static_cast<uint32_t>((bits_ >> 32) >> (32 - count));
        bits_ <<= count;
        available_ -= count;
        return taken;
    }

  private:
    void Refill() {
        while (available_ <= 56) {
            bits_ |= static_cast<uint64_t>(bytes_.Next()) << (56 - available_);
            available_ += 8;
        }
    }

    ByteSource& bytes_;
    uint64_t bits_ = 0;
    int available_ = 0;
};

// The bound is checked per byte: the decoder reads up to 16 bits past the end of a valid
// stream, and a corrupt one may ask for any number.
class MemorySource {
  public:
    MemorySource() : source_(packMemory.source), position_(packMemory.sourcePosition), bound_(packMemory.sourceBound) {}
    ~MemorySource() { packMemory.sourcePosition = position_; }
    MemorySource(const MemorySource&) = delete;
    MemorySource& operator=(const MemorySource&) = delete;
    uint8_t Next() { return position_ < bound_ ? source_[position_++] : 0xFF; }

  private:
    const uint8_t* source_;
    uint32_t position_;
    uint32_t bound_;
};

class StreamSource {
  public:
    explicit StreamSource(FILE* stream) : stream_(stream) {}
    uint8_t Next() {
        int byte = std::fgetc(stream_);
        return byte == EOF ? 0xFF : static_cast<uint8_t>(byte);
    }

  private:
    FILE* stream_;
};

constexpr int kSpacesBeforeStart = PackDecoder::kRingSize - PackDecoder::kLookAhead;

// Output into the memory sink, which doubles as the history that matches copy from: the ring
// of the published decoder holds nothing but the last 4096 bytes written here, so copying
// from the buffer gives the same bytes without keeping the ring. Before the first byte the
// ring holds 4036 spaces, and behind them 60 bytes never written, which read as 0.
//
// The sink's position is kept in a local while decoding: the shared record would have to be
// reloaded after every byte stored, since a byte store may alias anything.
class MemoryOutput {
  public:
    MemoryOutput()
        : sink_(packMemory.sink),
          position_(packMemory.sinkPosition),
          limit_(packMemory.sinkCapacity == 0 ? 0 : packMemory.sinkCapacity - 1) {}
    ~MemoryOutput() { packMemory.sinkPosition = position_; }
    MemoryOutput(const MemoryOutput&) = delete;
    MemoryOutput& operator=(const MemoryOutput&) = delete;

    // Once the buffer is full nothing more can arrive, so decoding may stop there: the bytes
    // it keeps are the same as when it runs on to the announced length.
    bool Full() const { return position_ >= limit_; }

    // Only called while not full.
    void Literal(uint8_t byte) { sink_[position_++] = byte; }

    // Copies `length` bytes from `distance` (1..4096) bytes back; those past the capacity
    // are dropped.
    void Copy(uint32_t distance, uint32_t length) {
        uint32_t room = limit_ - position_;
        uint32_t count = length < room ? length : room;
        uint8_t* to = sink_ + position_;
        if (distance <= position_) {
            const uint8_t* from = to - distance;
            uint32_t k = 0;
            // Eight bytes at a time where each block lies wholly before the one it fills.
            if (distance >= 8) {
                for (; k + 8 <= count; k += 8) {
                    std::memcpy(to + k, from + k, 8);
                }
            }
            for (; k < count; ++k) {
                to[k] = from[k];
            }
        } else {
            for (uint32_t k = 0; k < count; ++k) {
                int64_t at = static_cast<int64_t>(position_) + k - distance;
                to[k] = at >= 0 ? sink_[at] : (at >= -kSpacesBeforeStart ? ' ' : 0);
            }
        }
        position_ += count;
    }

  private:
    uint8_t* sink_;
    uint32_t position_;
    uint32_t limit_;
};

// Output into a stdio stream, through the ring as the published decoder has it.
class StreamOutput {
  public:
    StreamOutput(FILE* stream, uint8_t* ring) : stream_(stream), ring_(ring) {
        std::memset(ring_, ' ', kSpacesBeforeStart);
        std::memset(ring_ + kSpacesBeforeStart, 0, PackDecoder::kRingSize - kSpacesBeforeStart);
    }

    bool Full() const { return false; }

    void Literal(uint8_t byte) {
        std::fputc(byte, stream_);  // NOLINT(cert-err33-c): an error stays on the stream for its ferror
        ring_[r_] = byte;
        r_ = (r_ + 1) & kRingMask;
    }

    void Copy(uint32_t distance, uint32_t length) {
        uint32_t from = (r_ - distance) & kRingMask;
        for (uint32_t k = 0; k < length; ++k) {
            uint8_t byte = ring_[(from + k) & kRingMask];
            std::fputc(byte, stream_);  // NOLINT(cert-err33-c): an error stays on the stream for its ferror
            ring_[r_] = byte;
            r_ = (r_ + 1) & kRingMask;
        }
    }

  private:
    FILE* stream_;
    uint8_t* ring_;
    uint32_t r_ = kSpacesBeforeStart;
};

// Narrows [low, high) until it straddles the middle, and says how many bits that took. The
// offset of the coded value from low doubles along with the interval, so the caller appends
// that many fresh bits to it in one go.
//
// One bit at a time this is: drop the top bit while low and high - 1 agree on it (both
// halves), then drop the second bit while low is 01... and high - 1 is 10... (the middle
// half). Each phase is a run of equal leading bits, so it is counted rather than looped.
// The published loop sometimes takes a middle step where this takes a lower-half one; the
// two differ by half the range in low and high alike, which a later upper-half step takes
// away, so both end with the same low, high and count (checked for every low and high).
inline int Renormalise(uint32_t& low, uint32_t& high) {
    constexpr uint32_t kMask = 2 * kQ2 - 1;  // 17 bits
    uint32_t last = high - 1;
    int agree = std::countl_zero((low ^ last) << 15);
    agree = agree < 17 ? agree : 17;
    low = (low << agree) & kMask;
    last = ((last << agree) | ((1u << agree) - 1)) & kMask;

    int middle = std::countl_zero(((~low | last) & (kQ2 - 1)) << 16);
    middle = middle < 16 ? middle : 16;
    low = (low << middle) & (kQ2 - 1);
    last = kQ2 | (((last << middle) | ((1u << middle) - 1)) & (kQ2 - 1));
    high = last + 1;
    return agree + middle;
}

// Exact division of a 32-bit number by 2..32767 (the symbol totals are 314..32767) with two
// multiplications, sparing the integer divider, which is slow and takes one division at a
// time. magic = floor(2^32 / d) + 1, so a * magic / 2^32 exceeds a / d by less than 1: its
// integer part is the quotient or one more, and the product check takes the one back. The
// floating-point division that makes magic runs beside the integer work and is exact enough,
// since 2^32 / d lies at least 1/d away from any integer it does not equal.
class Divider {
  public:
    explicit Divider(uint32_t divisor) : divisor_(divisor), magic_(static_cast<uint32_t>(4294967296.0 / divisor) + 1) {}

    uint32_t Divide(uint32_t dividend) const {
        auto quotient = static_cast<uint32_t>((static_cast<uint64_t>(dividend) * magic_) >> 32);
        return quotient - (static_cast<uint64_t>(quotient) * divisor_ > dividend ? 1 : 0);
    }

  private:
    uint32_t divisor_;
    uint32_t magic_;
};

}  // namespace

PackDecoder::PackDecoder() = default;
PackDecoder::~PackDecoder() = default;

void PackDecoder::StartModel() {
    symbolCumulative_[kSymbolCount] = 0;
    for (int symbol = kSymbolCount; symbol >= 1; --symbol) {
        charToSymbol_[symbol - 1] = static_cast<uint16_t>(symbol);
        symbolToChar_[symbol] = static_cast<uint16_t>(symbol - 1);
        symbolFrequency_[symbol] = 1;
        symbolCumulative_[symbol - 1] = static_cast<uint16_t>(symbolCumulative_[symbol] + 1);
    }
    symbolFrequency_[0] = 0;  // sentinel: differs from every real frequency
}

void PackDecoder::Rescale() {
    uint16_t total = 0;
    for (int i = kSymbolCount; i > 0; --i) {
        symbolCumulative_[i] = total;
        symbolFrequency_[i] = static_cast<uint16_t>((symbolFrequency_[i] + 1) >> 1);
        total = static_cast<uint16_t>(total + symbolFrequency_[i]);
    }
    symbolCumulative_[0] = total;
}

// Frequencies fall as the symbol number rises. The symbol that gets one more moves to the
// front of its run of equal frequencies (the run keeps its order otherwise), so only the
// cumulative counts in front of that place change.
void PackDecoder::UpdateModel(int symbol) {
    if (symbolCumulative_[0] >= kMaxCumulative) {
        Rescale();
    }
    int first = symbol;
    while (symbolFrequency_[first] == symbolFrequency_[first - 1]) {
        --first;
    }
    if (first < symbol) {
        uint16_t charFirst = symbolToChar_[first];
        uint16_t charSymbol = symbolToChar_[symbol];
        symbolToChar_[first] = charSymbol;
        symbolToChar_[symbol] = charFirst;
        charToSymbol_[charFirst] = static_cast<uint16_t>(symbol);
        charToSymbol_[charSymbol] = static_cast<uint16_t>(first);
    }
    ++symbolFrequency_[first];
    for (int i = 0; i < first; ++i) {
        ++symbolCumulative_[i];
    }
}

// The symbol with cumulative[s - 1] > target >= cumulative[s]. Symbols are kept in order of
// falling frequency, so two in three lie among the first sixteen: those are counted with
// one pass of plain comparisons, which compilers turn into a few vector instructions. The
// rest are found by a bisection whose steps choose the next half without a branch, as the
// outcome of each is a coin toss for the predictor.
int PackDecoder::FindSymbol(uint32_t target) const {
    constexpr int kScanned = 16;
    int above = 0;
    for (int s = 1; s <= kScanned; ++s) {
        above += symbolCumulative_[s] > target ? 1 : 0;
    }
    if (above < kScanned) {
        return 1 + above;
    }
    int first = kScanned + 1;
    int count = kSymbolCount - kScanned;
    while (count > 1) {
        int half = count / 2;
        first += symbolCumulative_[first + half - 1] > target ? half : 0;
        count -= half;
    }
    return first;
}

template <typename Source, typename Output>
void PackDecoder::Run(Source& source, Output& output) {
    BitReader<Source> bits(source);
    StartModel();

    // The coder works on the value's offset from low: it is what every step needs, and it
    // survives the subtractions of renormalisation unchanged.
    uint32_t low = 0;
    uint32_t high = PackDecoder::kQ4;
    uint32_t offset = bits.Take(17);
    uint32_t count = 0;
    while (count < decodedLength_ && !output.Full()) {
        uint32_t range = high - low;
        uint32_t total = symbolCumulative_[0];
        Divider byTotal(total);
        int symbol = FindSymbol(((offset + 1) * total - 1) / range);
        uint32_t top = byTotal.Divide(range * symbolCumulative_[symbol - 1]);
        uint32_t bottom = byTotal.Divide(range * symbolCumulative_[symbol]);
        high = low + top;
        low += bottom;
        offset -= bottom;
        int shifts = Renormalise(low, high);
        offset = (offset << shifts) | bits.Take(shifts);
        int c = symbolToChar_[symbol];
        UpdateModel(symbol);

        if (c < 256) {
            output.Literal(static_cast<uint8_t>(c));
            ++count;
            continue;
        }
        range = high - low;
        int position = FindPosition(((offset + 1) * kPositionTotal - 1) / range);
        top = range * kPositionCumulative[position] / kPositionTotal;
        bottom = range * kPositionCumulative[position + 1] / kPositionTotal;
        high = low + top;
        low += bottom;
        offset -= bottom;
        shifts = Renormalise(low, high);
        offset = (offset << shifts) | bits.Take(shifts);

        uint32_t length = static_cast<uint32_t>(c - 255 + kThreshold);
        output.Copy(static_cast<uint32_t>(position) + 1, length);
        count += length;
    }
}

int PackDecoder::Decode(const uint8_t* source, uint8_t* sink) {
    packMemory.source = source;
    packMemory.sourcePosition = 0;
    packMemory.sink = sink;
    packMemory.sinkPosition = 0;
    decodedLength_ = 0;
    if (packMemory.sourceBound >= 4) {
        for (int i = 0; i < 4; ++i) {
            decodedLength_ |= static_cast<uint32_t>(source[i]) << (8 * i);
        }
        packMemory.sourcePosition = 4;
    }
    if (decodedLength_ != 0) {
        MemorySource bytes;
        MemoryOutput output;
        Run(bytes, output);
    }
    bytesStored_ = packMemory.sinkPosition;
    packMemory.source = nullptr;
    packMemory.sink = nullptr;
    packMemory.sourcePosition = 0;
    packMemory.sinkPosition = 0;
    return 0;
}

bool PackDecoder::DecodeStream(FILE* source, FILE* sink) {
    uint8_t header[4];
    bool headerRead = std::fread(header, sizeof(header), 1, source) == 1;
    decodedLength_ = 0;
    if (headerRead) {
        for (int i = 0; i < 4; ++i) {
            decodedLength_ |= static_cast<uint32_t>(header[i]) << (8 * i);
        }
        if (decodedLength_ != 0) {
            StreamSource bytes(source);
            StreamOutput output(sink, ring_);
            Run(bytes, output);
        }
    }
    return headerRead;
}
