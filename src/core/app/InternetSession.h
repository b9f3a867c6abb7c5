#pragma once

// Whether a run may start: a direct connection always may; a dial-up user needs a
// point-to-point link that is up.
bool IsInternetSessionActive(bool directConnection);

// Any point-to-point interface (a dial-up link) is up. Where the interfaces cannot be listed at
// all the answer is true, as the original passed when its dial-up service was absent.
bool IsDialUpLinkUp();
