#!/usr/bin/env bash
# Makes a throw-away CA and a code-signing certificate that it issued, with openssl:
#   make-signing-pki.sh FOLDER NAME
# writes FOLDER/NAME-ca.{key,pem,der}, FOLDER/NAME-signer.key, NAME-signer-only.pem
# (the leaf) and NAME-signer.pem (leaf then CA: the chain a release signature carries);
# and a TLS server certificate for localhost from the same CA: NAME-localhost.key and
# NAME-localhost-chain.pem (leaf then CA).
set -euo pipefail
folder=$1 name=$2
cd "$folder"
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 30 -subj "/CN=Tarnwick Test $name CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
  -keyout "$name-ca.key" -out "$name-ca.pem" 2>/dev/null
openssl x509 -in "$name-ca.pem" -outform DER -out "$name-ca.der"
openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=Tarnwick Test $name Publisher/O=Orvakel Test" \
  -keyout "$name-signer.key" -out "$name-signer.csr" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
  > "$name-signer.ext"
openssl x509 -req -in "$name-signer.csr" -CA "$name-ca.pem" -CAkey "$name-ca.key" -CAcreateserial \
  -sha256 -days 30 -extfile "$name-signer.ext" -out "$name-signer-only.pem" 2>/dev/null
cat "$name-signer-only.pem" "$name-ca.pem" > "$name-signer.pem"
openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=localhost" \
  -keyout "$name-localhost.key" -out "$name-localhost.csr" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nsubjectAltName=DNS:localhost\n' > "$name-localhost.ext"
openssl x509 -req -in "$name-localhost.csr" -CA "$name-ca.pem" -CAkey "$name-ca.key" -CAcreateserial \
  -sha256 -days 30 -extfile "$name-localhost.ext" -out "$name-localhost.pem" 2>/dev/null
cat "$name-localhost.pem" "$name-ca.pem" > "$name-localhost-chain.pem"
