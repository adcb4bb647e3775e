"""The URL token as the program must compute it, written apart with hashlib."""

import hashlib
import struct

THIRTY_DAYS = 2592000


def signed(url, path, hex_value, now):
    """url with its authparam value replaced as the program must do it at now."""
    pairs = [int(hex_value[i:i + 2], 16) for i in range(0, len(hex_value) // 2 * 2, 2)]
    key = bytes(((b >> 3) | (b << 5)) & 0xFF for b in pairs)
    expiry = now + THIRTY_DAYS
    first = hashlib.md5(struct.pack("<I", expiry & 0xFFFFFFFF) + path.encode() + key).digest()
    token = hashlib.md5(key + first).hexdigest()
    return url.replace(f"authparam={hex_value}", f"authparam={expiry}_{token}")
