#include "lang/pack_decoder.h"

#include <array>
#include <cstring>

PackMemory packMemory;

namespace {

constexpr int kRingMask = PackDecoder::kRingSize - 1;
constexpr int kPositionCount = PackDecoder::kRingSize;
constexpr uint32_t kQ1 = PackDecoder::kQ1;
constexpr uint32_t kQ2 = PackDecoder::kQ2;
constexpr uint32_t kQ3 = PackDecoder::kQ3;

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

// The position with cumulative[p] > target >= cumulative[p + 1].
int FindPosition(uint32_t target) {
    int lowest = 1;
    int highest = kPositionCount;
    while (lowest < highest) {
        int middle = (lowest + highest) / 2;
        if (kPositionCumulative[middle] > target) {
            lowest = middle + 1;
        } else {
            highest = middle;
        }
    }
    return lowest - 1;
}

// Bits most significant first, kept 64 at a time. Fetching ahead changes nothing the decoder
// sees: a bit is the same whenever it is read, and bits past the end read as 1.
template <typename ByteSource>
class BitReader {
  public:
    explicit BitReader(ByteSource& bytes) : bytes_(bytes) {}

    // The next `count` bits (0..24) as a number.
    uint32_t Take(int count) {
        if (count == 0) {
            return 0;
        }
        if (available_ < count) {
            Refill();
        }
        uint32_t taken = static_cast<uint32_t>(bits_ >> (64 - count));
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

// Kept in locals while decoding: the shared record would have to be reloaded after every
// byte stored, since a byte store may alias anything.
class MemorySink {
  public:
    MemorySink()
        : sink_(packMemory.sink),
          position_(packMemory.sinkPosition),
          limit_(packMemory.sinkCapacity == 0 ? 0 : packMemory.sinkCapacity - 1) {}
    ~MemorySink() { packMemory.sinkPosition = position_; }
    MemorySink(const MemorySink&) = delete;
    MemorySink& operator=(const MemorySink&) = delete;

    // Once the buffer is full nothing more can arrive, so decoding may stop there: the bytes
    // it keeps are the same as when it runs on to the announced length.
    bool Full() const { return position_ >= limit_; }
    void Put(uint8_t byte) {
        if (position_ < limit_) {
            sink_[position_++] = byte;
        }
    }

  private:
    uint8_t* sink_;
    uint32_t position_;
    uint32_t limit_;
};

class StreamSink {
  public:
    explicit StreamSink(FILE* stream) : stream_(stream) {}
    bool Full() const { return false; }
    void Put(uint8_t byte) { std::fputc(byte, stream_); }

  private:
    FILE* stream_;
};

// Narrows [low, high) until it straddles the middle, and says how many bits that took. The
// offset of the coded value from low doubles along with the interval, so the caller appends
// that many fresh bits to it in one go.
inline int Renormalise(uint32_t& low, uint32_t& high) {
    int shifts = 0;
    for (;;) {
        if (low >= kQ2) {
            low -= kQ2;
            high -= kQ2;
        } else if (low >= kQ1 && high <= kQ3) {
            low -= kQ1;
            high -= kQ1;
        } else if (high > kQ2) {
            return shifts;
        }
        low += low;
        high += high;
        ++shifts;
    }
}

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

// The symbol with cumulative[s - 1] > target >= cumulative[s].
int PackDecoder::FindSymbol(uint32_t target) const {
    int lowest = 1;
    int highest = kSymbolCount;
    while (lowest < highest) {
        int middle = (lowest + highest) / 2;
        if (symbolCumulative_[middle] > target) {
            lowest = middle + 1;
        } else {
            highest = middle;
        }
    }
    return lowest;
}

template <typename Source, typename Sink>
void PackDecoder::Run(Source& source, Sink& sink) {
    BitReader<Source> bits(source);
    StartModel();
    std::memset(ring_, ' ', kRingSize - kLookAhead);
    int r = kRingSize - kLookAhead;

    // The coder works on the value's offset from low: it is what every step needs, and it
    // survives the subtractions of renormalisation unchanged.
    uint32_t low = 0;
    uint32_t high = PackDecoder::kQ4;
    uint32_t offset = bits.Take(17);
    uint32_t count = 0;
    while (count < decodedLength_ && !sink.Full()) {
        uint32_t range = high - low;
        uint32_t total = symbolCumulative_[0];
        int symbol = FindSymbol(((offset + 1) * total - 1) / range);
        uint32_t top = range * symbolCumulative_[symbol - 1] / total;
        uint32_t bottom = range * symbolCumulative_[symbol] / total;
        high = low + top;
        low += bottom;
        offset -= bottom;
        int shifts = Renormalise(low, high);
        offset = (offset << shifts) | bits.Take(shifts);
        int c = symbolToChar_[symbol];
        UpdateModel(symbol);

        if (c < 256) {
            sink.Put(static_cast<uint8_t>(c));
            ring_[r] = static_cast<uint8_t>(c);
            r = (r + 1) & kRingMask;
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

        int from = (r - position - 1) & kRingMask;
        int length = c - 255 + kThreshold;
        for (int k = 0; k < length; ++k) {
            uint8_t byte = ring_[(from + k) & kRingMask];
            sink.Put(byte);
            ring_[r] = byte;
            r = (r + 1) & kRingMask;
        }
        count += static_cast<uint32_t>(length);
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
        MemorySink output;
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
            StreamSink output(sink);
            Run(bytes, output);
        }
    }
    return headerRead;
}
