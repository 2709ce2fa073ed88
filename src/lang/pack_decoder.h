// Decoding of the compressed language pack: a 4-byte little-endian length, then an LZARI bit
// stream (ring of 4096 bytes, matches of 3..60 bytes, 15-bit adaptive arithmetic coding).
// Decodes from memory, the way the program does at start-up, or between stdio streams for
// the lzari tool. Plain C++ with no Windows headers, so the tool also builds for the host.
#pragma once

#include <cstdint>
#include <cstdio>

// The memory source and sink, shared by every decoder. The caller sets the bound and the
// capacity before decoding; Decode sets the pointers and positions and clears them after.
struct PackMemory {
    const uint8_t* source = nullptr;  // null: read the stream source
    uint32_t sourcePosition = 0;      // next byte to read, counted from the header's first byte
    uint32_t sourceBound = 0;         // size of the compressed pack; bits past it read as 1
    uint8_t* sink = nullptr;          // null: write the stream sink
    uint32_t sinkPosition = 0;        // bytes stored so far
    uint32_t sinkCapacity = 0;        // at most sinkCapacity - 1 bytes are stored
};

extern PackMemory packMemory;

class PackDecoder {
  public:
    static constexpr int kRingSize = 4096;
    static constexpr int kLookAhead = 60;
    static constexpr int kThreshold = 2;
    static constexpr int kSymbolCount = 256 - kThreshold + kLookAhead;  // 314
    static constexpr uint32_t kQ1 = 1u << 15;
    static constexpr uint32_t kQ2 = 2 * kQ1;
    static constexpr uint32_t kQ3 = 3 * kQ1;
    static constexpr uint32_t kQ4 = 4 * kQ1;
    static constexpr uint32_t kMaxCumulative = kQ1 - 1;

    PackDecoder();
    virtual ~PackDecoder();
    PackDecoder(const PackDecoder&) = delete;
    PackDecoder& operator=(const PackDecoder&) = delete;

    // Decodes the pack at `source` (packMemory.sourceBound bytes) into `sink` (at most
    // packMemory.sinkCapacity - 1 bytes kept). A source shorter than its 4-byte header holds
    // nothing. Returns 0.
    int Decode(const uint8_t* source, uint8_t* sink);

    // Decodes from one stdio stream to another, writing every byte up to the header's length.
    // Returns false when the header cannot be read.
    bool DecodeStream(FILE* source, FILE* sink);

    // The length the header announced (0 before decoding).
    uint32_t DecodedLength() const { return decodedLength_; }

    // How many bytes the last Decode kept in its sink.
    uint32_t BytesStored() const { return bytesStored_; }

  private:
    template <typename Source, typename Output>
    void Run(Source& source, Output& output);
    void StartModel();
    void Rescale();
    void UpdateModel(int symbol);
    int FindSymbol(uint32_t target) const;

    uint8_t ring_[kRingSize] = {};  // the history when decoding to a stream
    uint16_t charToSymbol_[kSymbolCount] = {};
    uint16_t symbolToChar_[kSymbolCount + 1] = {};
    uint16_t symbolFrequency_[kSymbolCount + 1] = {};
    uint16_t symbolCumulative_[kSymbolCount + 1] = {};
    uint32_t decodedLength_ = 0;
    uint32_t bytesStored_ = 0;
};
