#!/usr/bin/env bash
# Signs a copy of a program as tools/package.sh does, with a throwaway
# self-signed certificate made here, and checks the result with osslsigncode:
# an Authenticode signature with SHA-256 by that certificate, which a changed
# byte breaks; a wrong password signs nothing.
#   signing_test.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAILED: $*"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Plug-in Setup test signer" -addext "extendedKeyUsage=codeSigning" >openssl.log 2>&1 ||
  fail "openssl could not make a certificate: $(cat openssl.log)"
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signer.p12 -passout pass:throwaway

cp "$program" Setup.exe
SETUP_SIGN_PASSWORD=throwaway "$tools/sign.sh" --pkcs12 signer.p12 --name "Plug-in Setup" Setup.exe
osslsigncode verify -CAfile cert.pem -in Setup.exe >verify.log 2>&1 || fail "verify: $(cat verify.log)"
grep -q "Message digest algorithm *: SHA256" verify.log || fail "not SHA-256: $(cat verify.log)"
grep -q "Subject: /CN=Plug-in Setup test signer" verify.log || fail "another signer: $(cat verify.log)"
grep -q "Signature verification: ok" verify.log || fail "$(cat verify.log)"

# What the checks above rely on: verification fails for an unsigned file and for a changed one.
cp "$program" unsigned.exe
osslsigncode verify -CAfile cert.pem -in unsigned.exe >unsigned.log 2>&1 && fail "an unsigned file verified"
cp Setup.exe changed.exe
printf 'X' | dd of=changed.exe bs=1 seek=1024 conv=notrunc status=none
osslsigncode verify -CAfile cert.pem -in changed.exe >changed.log 2>&1 && fail "a changed file verified"

# A wrong password: an error, and the file stays as it was.
cp "$program" wrong.exe
SETUP_SIGN_PASSWORD=wrong "$tools/sign.sh" --pkcs12 signer.p12 wrong.exe >wrong.log 2>&1 && fail "signed with a wrong password"
cmp -s wrong.exe "$program" || fail "a failed signing changed the file"
echo "signed and verified: $(grep -c . verify.log) lines of osslsigncode verify, SHA-256, ok"
