#pragma once
// Creating an IPS patch that turns a base image into the open document.

namespace qv {

class IpsHost;

// Tools > Create IPS File: TFormIpsMake, then the patch of the document against
// the chosen base, written with the "~ips" backup. Returns whether a patch was
// written; every refusal has been reported and has written nothing.
bool createIpsFile(IpsHost& host);

} // namespace qv
