#pragma once
// Layout of the metadata block appended to the stub, shared by the stub and the
// packer. Portable: no Windows headers.
//
//   [PE image][base64 of AES-128-ECB(document)][marker][zero padding][certificate table]
//
// The block starts where the raw data of the last section ends; the zero bytes
// after the marker end the text, so the certificate table is never read as part of it.

namespace BlockFormat {

inline constexpr char kMarker[] = "{B2F2947D-EA42-43B8-8EB5-BB9FE4B236E2}";
inline constexpr wchar_t kMarkerWide[] = L"{B2F2947D-EA42-43B8-8EB5-BB9FE4B236E2}";

// The AES-128 key: these 16 ASCII bytes are the key itself, with no derivation.
inline constexpr unsigned char kKey[16] = {'5', 'c', '3', '1', 'd', '0', 'e', '8',
                                           'a', '9', '4', 'f', '2', '7', 'b', '6'};

}  // namespace BlockFormat
