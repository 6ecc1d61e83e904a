#pragma once
// Presents a PIN to the key of a personal-store certificate.
// 1 when the key's own provider, opened silently, accepts pin as the signature
// PIN; 0 for a null or empty serial, no matching certificate, no key-provider
// property, a container that cannot be opened without a dialog, or a refused
// PIN. A null pin is handed on as a null pointer.
long CheckCertPin(const wchar_t* serial, const char* pin);
