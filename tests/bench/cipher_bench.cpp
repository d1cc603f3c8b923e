// Cipher throughput on one 1 MiB buffer, in place: ours one unit at a time,
// ours in bulk through the kernel measured fastest and through each kernel
// the CPU has, split over two cores as the file processor runs it, and
// OpenSSL's CAST5-ECB, in the same run. Ends with a summary
// in MB/s (10^6 bytes/s).
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/cast.h>
#include <openssl/evp.h>
#include <openssl/provider.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "crypto/cast128.h"
#include "crypto/cast128_kernels.h"
#include "crypto/split_cipher.h"
#include "tests/bench/rate_summary.h"

namespace {

const size_t kBufferSize = 1 << 20;
const size_t kUnits = kBufferSize / 8;

// A random key and a buffer of random bytes.
struct Setup {
    Setup() : buffer(kBufferSize) {
        std::mt19937 rng(9);
        for (auto& k : key) k = uint8_t(rng());
        for (auto& b : buffer) b = uint8_t(rng());
        cipher.SetKeyBytes(key);
    }
    uint8_t key[16];
    std::vector<uint8_t> buffer;
    Cast128 cipher;
};

template <typename Pass>
void Measure(benchmark::State& state, std::vector<uint8_t>& buffer, Pass pass) {
    for (auto _ : state) {
        pass(buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBufferSize));
}

void OneUnit(benchmark::State& state) {
    Setup s;
    Measure(state, s.buffer, [&](uint8_t* p) {
        for (size_t i = 0; i < kBufferSize; i += 8) s.cipher.EncryptBlock(p + i, p + i);
    });
}

void BulkEncrypt(benchmark::State& state) {
    Setup s;
    Measure(state, s.buffer, [&](uint8_t* p) { s.cipher.EncryptBlocks(p, kUnits); });
}

void BulkDecrypt(benchmark::State& state) {
    Setup s;
    Measure(state, s.buffer, [&](uint8_t* p) { s.cipher.DecryptBlocks(p, kUnits); });
}

void KernelEncrypt(benchmark::State& state, Cast128Kernel kernel) {
    Setup s;
    Measure(state, s.buffer, [&](uint8_t* p) { s.cipher.EncryptBlocksWith(kernel, p, kUnits); });
}

std::string KernelBenchmark(Cast128Kernel kernel) {
    return std::string("Kernel/") + cast128::KernelName(kernel);
}

void SplitEncrypt(benchmark::State& state) {
    Setup s;
    SplitCipher split;
    Measure(state, s.buffer, [&](uint8_t* p) { split.EncryptBlocks(s.cipher, p, kUnits); });
}

void SplitDecrypt(benchmark::State& state) {
    Setup s;
    SplitCipher split;
    Measure(state, s.buffer, [&](uint8_t* p) { split.DecryptBlocks(s.cipher, p, kUnits); });
}

// The low-level call, one 8-byte block per call, the full 16-byte key.
void OpenSslEcb(benchmark::State& state) {
    Setup s;
    CAST_KEY key;
    CAST_set_key(&key, 16, s.key);
    Measure(state, s.buffer, [&](uint8_t* p) {
        for (size_t i = 0; i < kBufferSize; i += 8)
            CAST_ecb_encrypt(p + i, p + i, &key, CAST_ENCRYPT);
    });
}

// The whole buffer in one EVP call; CAST5 lives in the legacy provider.
void OpenSslEvp(benchmark::State& state) {
    Setup s;
    OSSL_PROVIDER* legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    OSSL_PROVIDER* base = OSSL_PROVIDER_load(nullptr, "default");
    EVP_CIPHER* cast5 = EVP_CIPHER_fetch(nullptr, "CAST5-ECB", nullptr);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (!legacy || !cast5 || !EVP_EncryptInit_ex2(ctx, cast5, s.key, nullptr, nullptr)) {
        state.SkipWithError("no CAST5-ECB in OpenSSL's legacy provider");
    } else {
        EVP_CIPHER_CTX_set_padding(ctx, 0);
        Measure(state, s.buffer, [&](uint8_t* p) {
            int written = 0;
            EVP_EncryptUpdate(ctx, p, &written, p, int(kBufferSize));
        });
    }
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cast5);
    if (base) OSSL_PROVIDER_unload(base);
    if (legacy) OSSL_PROVIDER_unload(legacy);
}

double MegabytesPerSecond(const RateCollector& rates, const char* name) {
    return rates.BytesPerSecond(name) / 1e6;
}

void PrintCipherSummary(const RateCollector& rates) {
    const double bulk = MegabytesPerSecond(rates, "BulkEncrypt");
    const double ecb = MegabytesPerSecond(rates, "OpenSslEcb");
    const double evp = MegabytesPerSecond(rates, "OpenSslEvp");
    const double openssl = std::max(ecb, evp);
    std::printf("\nCipher, 1 MiB buffer in place, MB/s (10^6 bytes/s), fastest repetition:\n");
    std::printf("  ours, one unit at a time:    %8.1f\n", MegabytesPerSecond(rates, "OneUnit"));
    std::printf("  ours, bulk encrypt:          %8.1f\n", bulk);
    std::printf("  ours, bulk decrypt:          %8.1f\n", MegabytesPerSecond(rates, "BulkDecrypt"));
    std::printf("  chosen kernel: %s\n", cast128::KernelName(cast128::ChosenKernel()));
    for (Cast128Kernel kernel : cast128::kAllKernels) {
        const std::string label =
            std::string("  kernel ") + cast128::KernelName(kernel) + ", encrypt:";
        if (cast128::KernelSupported(kernel)) {
            std::printf("%-30s %8.1f\n", label.c_str(),
                        rates.BytesPerSecond(KernelBenchmark(kernel)) / 1e6);
        } else {
            std::printf("%-30s not run (this CPU lacks it)\n", label.c_str());
        }
    }
    std::printf("  ours, two cores encrypt:     %8.1f\n",
                MegabytesPerSecond(rates, "SplitEncrypt/real_time"));
    std::printf("  ours, two cores decrypt:     %8.1f\n",
                MegabytesPerSecond(rates, "SplitDecrypt/real_time"));
    std::printf("  OpenSSL CAST_ecb_encrypt:    %8.1f\n", ecb);
    std::printf("  OpenSSL EVP CAST5-ECB:       %8.1f\n", evp);
    if (openssl > 0) std::printf("  bulk / OpenSSL (faster one): %8.2fx\n", bulk / openssl);
}

// With repetitions, each benchmark's fastest one too ("max" of bytes per
// second): on a shared machine noise only ever slows a repetition down.
double Largest(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

}  // namespace

#define CIPHER_BENCHMARK(pass) BENCHMARK(pass)->ComputeStatistics("max", Largest)

CIPHER_BENCHMARK(OneUnit);
CIPHER_BENCHMARK(BulkEncrypt);
CIPHER_BENCHMARK(BulkDecrypt);
// Two threads at work: the time that counts is the clock's, not the caller's.
CIPHER_BENCHMARK(SplitEncrypt)->UseRealTime();
CIPHER_BENCHMARK(SplitDecrypt)->UseRealTime();
CIPHER_BENCHMARK(OpenSslEcb);
CIPHER_BENCHMARK(OpenSslEvp);

int main(int argc, char** argv) {
    for (Cast128Kernel kernel : cast128::kAllKernels) {
        if (!cast128::KernelSupported(kernel)) continue;
        benchmark::RegisterBenchmark(KernelBenchmark(kernel).c_str(), KernelEncrypt, kernel)
            ->ComputeStatistics("max", Largest);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RateCollector collector(isatty(STDOUT_FILENO) != 0);
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    PrintCipherSummary(collector);
    return 0;
}
