#!/usr/bin/env bash
# Signs a Windows program in place (Authenticode, SHA-256) with osslsigncode.
#   tools/sign.sh [OPTIONS] FILE
# The maker's certificate, either
#   --pkcs12 FILE               a PKCS#12 file (.pfx/.p12) holding key and certificate
# or a PKCS#11 token:
#   --pkcs11-module LIB         the token's PKCS#11 library
#   --key ID                    the key on the token (an id or a pkcs11: URI)
#   --pkcs11-cert ID | --certs FILE   the certificate on the token, or in a file
#   --pkcs11-engine ENGINE      an OpenSSL engine, where osslsigncode needs one
# and, optionally:
#   --password-file FILE        the PKCS#12 password or token PIN, in a file
#   --timestamp URL             an RFC 3161 time-stamping server: the signature
#                               then stays valid after the certificate expires
#   --name TEXT, --url URL      the description and web address the signature shows
# Each option may instead come from the environment: SETUP_SIGN_PKCS12,
# SETUP_SIGN_PKCS11_MODULE, SETUP_SIGN_KEY, SETUP_SIGN_PKCS11_CERT,
# SETUP_SIGN_CERTS, SETUP_SIGN_PKCS11_ENGINE, SETUP_SIGN_PASSWORD_FILE,
# SETUP_SIGN_TIMESTAMP, SETUP_SIGN_NAME, SETUP_SIGN_URL; SETUP_SIGN_PASSWORD
# holds the password itself (handed over on standard input, never on a
# command line that other users can read).
# Exits 0 without signing when no certificate is given and --required is not.
set -euo pipefail

pkcs12=${SETUP_SIGN_PKCS12:-}
module=${SETUP_SIGN_PKCS11_MODULE:-}
key=${SETUP_SIGN_KEY:-}
token_cert=${SETUP_SIGN_PKCS11_CERT:-}
certs=${SETUP_SIGN_CERTS:-}
engine=${SETUP_SIGN_PKCS11_ENGINE:-}
password_file=${SETUP_SIGN_PASSWORD_FILE:-}
timestamp=${SETUP_SIGN_TIMESTAMP:-}
name=${SETUP_SIGN_NAME:-}
url=${SETUP_SIGN_URL:-}
required=no
file=""
while [ $# -gt 0 ]; do
  case $1 in
    --pkcs12) pkcs12=$2; shift 2 ;;
    --pkcs11-module) module=$2; shift 2 ;;
    --key) key=$2; shift 2 ;;
    --pkcs11-cert) token_cert=$2; shift 2 ;;
    --certs) certs=$2; shift 2 ;;
    --pkcs11-engine) engine=$2; shift 2 ;;
    --password-file) password_file=$2; shift 2 ;;
    --timestamp) timestamp=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --url) url=$2; shift 2 ;;
    --required) required=yes; shift ;;
    -*) echo "sign.sh: unknown option $1" >&2; exit 2 ;;
    *) [ -z "$file" ] || { echo "sign.sh: one file only" >&2; exit 2; }; file=$1; shift ;;
  esac
done
[ -n "$file" ] || { echo "usage: tools/sign.sh [OPTIONS] FILE" >&2; exit 2; }

args=()
if [ -n "$pkcs12" ] && [ -n "$module" ]; then
  echo "sign.sh: give a PKCS#12 file or a PKCS#11 token, not both" >&2
  exit 2
elif [ -n "$pkcs12" ]; then
  args+=(-pkcs12 "$pkcs12")
elif [ -n "$module" ]; then
  [ -n "$key" ] || { echo "sign.sh: a PKCS#11 token needs --key" >&2; exit 2; }
  [ -n "$token_cert" ] || [ -n "$certs" ] || { echo "sign.sh: a PKCS#11 token needs --pkcs11-cert or --certs" >&2; exit 2; }
  [ -z "$engine" ] || args+=(-pkcs11engine "$engine")
  args+=(-pkcs11module "$module" -key "$key")
  if [ -n "$token_cert" ]; then args+=(-pkcs11cert "$token_cert"); else args+=(-certs "$certs"); fi
else
  if [ "$required" = yes ]; then
    echo "sign.sh: no certificate given (--pkcs12 or --pkcs11-module)" >&2
    exit 2
  fi
  exit 0
fi

command -v osslsigncode >/dev/null 2>&1 || "$(dirname "$0")/install-deps.sh"
args+=(-h sha256)
[ -z "$name" ] || args+=(-n "$name")
[ -z "$url" ] || args+=(-i "$url")
[ -z "$timestamp" ] || args+=(-ts "$timestamp")
if [ -n "$password_file" ]; then
  args+=(-readpass "$password_file")
elif [ -n "${SETUP_SIGN_PASSWORD+set}" ]; then
  args+=(-readpass -)
fi

signed="$file.signing"
rm -f "$signed"
if ! printf '%s' "${SETUP_SIGN_PASSWORD:-}" | osslsigncode sign "${args[@]}" -in "$file" -out "$signed" >"$signed.log" 2>&1; then
  cat "$signed.log" >&2
  rm -f "$signed" "$signed.log"
  echo "sign.sh: signing $file failed" >&2
  exit 1
fi
rm -f "$signed.log"
mv "$signed" "$file"
echo "$file: signed (Authenticode, SHA-256${timestamp:+, time-stamped by $timestamp})"
