#pragma once
// A store's fingerprint: a 64-bit digest of what a start would load from it, the
// index file's bytes and the bytes of every body file its lines name in the store
// folder. The recycle bin keeps the fingerprint of the store that a delete or a
// restore writes, so that a start after an interrupted one can tell, from the store
// on the disk alone, whether that store was written (bin_commit.h).
//
// The digest is the same whether the store is described from memory (a save about
// to put it on the disk) or read from the disk: both read the same index bytes with
// the same record reader, and only the bodies come from elsewhere.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace vn {

// The bytes of the body file of that name in the store folder; null when no such
// file exists. May raise when a file exists but cannot be read.
using StoreBodyLookup = std::function<const std::string*(const std::u16string& name)>;

uint64_t StoreFingerprint(std::string_view indexBytes, const CodePage& codePage, const StoreBodyLookup& body);

// A fast 64-bit digest of bytes (not for security: it tells stores apart).
uint64_t DigestBytes(std::string_view bytes, uint64_t seed = 0);

} // namespace vn
