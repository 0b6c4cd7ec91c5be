// Marks libnerix's hot loops to be built for AVX2 as well as the baseline, chosen once at load time.
#pragma once

// AVX2 without FMA: no product is fused into a sum, so both builds round every sample alike.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
#define NERIX_HOT __attribute__((target_clones("avx2", "default")))
#else
#define NERIX_HOT
#endif
