#pragma once

// Whether this build runs under AddressSanitizer, which reserves its shadow
// memory at start: a test that limits the address space cannot run there.
namespace quill_test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool UnderAddressSanitizer = true;
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif

} // namespace quill_test
