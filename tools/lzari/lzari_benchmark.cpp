// Times decoding the stored language pack, which every start of the program pays: the
// program's decoder against a plain transcription of the published one, on the same input,
// in alternating rounds so that a busy machine slows both alike. Reports the median round.
//
//   lzari_benchmark [ROUNDS [DECODES_PER_ROUND]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "lang/pack_decoder.h"
#include "lang/stored_pack.h"
#include "lzari/lzari_reference.h"

namespace {

constexpr uint32_t kSinkCapacity = 400000;

struct Sample {
    double wallMs;
    double cpuMs;
};

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10000.0;
}

template <typename DecodeOnce>
Sample Time(int decodes, DecodeOnce decodeOnce) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double cpuStart = ThreadCpuMs();
    QueryPerformanceCounter(&start);
    for (int i = 0; i < decodes; ++i) {
        decodeOnce();
    }
    QueryPerformanceCounter(&end);
    double cpuEnd = ThreadCpuMs();
    double wall = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    return {wall / decodes, (cpuEnd - cpuStart) / decodes};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    int decodes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    std::vector<uint8_t> packed(kStoredPack, kStoredPack + kStoredPackSize);
    std::vector<uint8_t> buffer(kSinkCapacity);

    auto decodeFast = [&] {
        packMemory.sourceBound = kStoredPackSize;
        packMemory.sinkCapacity = kSinkCapacity;
        auto decoder = std::make_unique<PackDecoder>();
        decoder->Decode(kStoredPack, buffer.data());
    };
    auto decodeReference = [&] { lzari::DecodeReference(packed); };

    decodeFast();
    std::vector<uint8_t> reference = lzari::DecodeReference(packed);
    if (std::memcmp(buffer.data(), reference.data(), reference.size()) != 0) {
        std::fprintf(stderr, "the two decoders disagree\n");
        return 1;
    }

    std::vector<double> fastWall, fastCpu, referenceWall, referenceCpu;
    for (int round = 0; round < rounds; ++round) {
        Sample fast = Time(decodes, decodeFast);
        Sample plain = Time(decodes, decodeReference);
        fastWall.push_back(fast.wallMs);
        fastCpu.push_back(fast.cpuMs);
        referenceWall.push_back(plain.wallMs);
        referenceCpu.push_back(plain.cpuMs);
    }
    std::printf("stored pack: %u bytes compressed, %zu bytes decoded\n", kStoredPackSize, reference.size());
    std::printf("%d rounds of %d decodes, median per decode:\n", rounds, decodes);
    std::printf("  program decoder:   %.3f ms CPU, %.3f ms wall\n", Median(fastCpu), Median(fastWall));
    std::printf("  published decoder: %.3f ms CPU, %.3f ms wall\n", Median(referenceCpu), Median(referenceWall));
    return 0;
}
