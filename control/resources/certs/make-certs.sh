#!/usr/bin/env bash
# Makes the certificates this folder holds that are ours rather than copied:
# the stand-ins for ZJCA and ZJCA OCA2, and our own root and user CA that take
# the maker's place. Keys live in a temporary folder and are thrown away; only
# the DER certificates stay. Run it again only to replace them: every run
# makes new keys, so new bytes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p db && : > db/index.txt

cat > ca.cnf <<'CNF'
[ca]
default_ca = trust
[trust]
database = db/index.txt
new_certs_dir = db
serial = db/serial
policy = anything
unique_subject = no
copy_extensions = none
preserve = yes
email_in_dn = no
[anything]
countryName = optional
stateOrProvinceName = optional
localityName = optional
organizationName = optional
organizationalUnitName = optional
commonName = optional
givenName = optional
[req]
distinguished_name = dn
string_mask = default
utf8 = yes
prompt = no
[dn]
CN = unused
[ca_ext]
basicConstraints = critical, CA:true
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[root_ext]
subjectKeyIdentifier = hash
CNF

# issue <csr> <issuer cert> <issuer key> <serial hex> <md> <start> <end> <ext> <out.der> [-selfsign]
issue() {
    echo "$4" > db/serial
    openssl ca -batch -config ca.cnf -in "$1" -cert "$2" -keyfile "$3" -md "$5" \
        -startdate "$6" -enddate "$7" -extensions "$8" -notext -out issued.pem ${10:-} 2>/dev/null
    openssl x509 -in issued.pem -outform DER -out "$here/$9"
}

# Stand-in issuers: the real ZJRoot and OSCCA ROOTCA re-signed with keys of our
# own, so that the stand-ins carry the real issuer names byte for byte.
for root in zjroot oscca-rootca; do
    openssl genrsa -out $root.key 2048 2>/dev/null
    openssl x509 -inform DER -in "$here/$root.der" -key $root.key -out $root.pem 2>/dev/null
done

# ZJCA stand-in: RSA 1024, SHA-1, issued by ZJRoot.
openssl genrsa -out zjca.key 1024 2>/dev/null
openssl req -new -config ca.cnf -key zjca.key -utf8 \
    -subj "/C=CN/ST=浙江省/L=杭州市/O=浙江省数字认证中心/CN=ZJCA" -out zjca.csr
issue zjca.csr zjroot.pem zjroot.key 3A1F0E2C sha1 031217051351Z 181119160000Z ca_ext zjca.der

# ZJCA OCA2 stand-in: RSA 2048, SHA-1, issued by OSCCA ROOTCA.
openssl genrsa -out oca2.key 2048 2>/dev/null
openssl req -new -config ca.cnf -key oca2.key \
    -subj "/C=CN/O=Zhejiang Digital Certificate Authority/CN=ZJCA OCA2" -out oca2.csr
issue oca2.csr oscca-rootca.pem oscca-rootca.key 7B2D4C5E6F708192 sha1 140217060902Z 190216060902Z ca_ext zjca-oca2.der

# Our root CA: self-signed, RSA 1024, MD5 with RSA, no basic constraints.
openssl genrsa -out root.key 1024 2>/dev/null
openssl req -new -config ca.cnf -key root.key \
    -subj "/C=CN/ST=Zhejiang/L=Hangzhou/O=Pelorin/GN=Pelorin/CN=Pelorin Root CA" -out root.csr
issue root.csr /dev/null root.key 01 md5 100919063935Z 391231235959Z root_ext pelorin-root-ca.der -selfsign
openssl x509 -inform DER -in "$here/pelorin-root-ca.der" -out root.pem

# Our user CA: issued by our root, RSA 1024, MD5 with RSA, a certificate authority.
openssl genrsa -out user.key 1024 2>/dev/null
openssl req -new -config ca.cnf -key user.key \
    -subj "/C=CN/ST=Zhejiang/L=Hangzhou/O=Pelorin/GN=Pelorin/CN=Pelorin User CA" -out user.csr
issue user.csr root.pem root.key 02 md5 100919064101Z 391231235959Z ca_ext pelorin-user-ca.der
