#pragma once
// The user-visible steps of the entry sequence, apart from the entry itself so that
// they can be exercised on their own.

namespace vn {

// The second-instance path: the default beep and the information box; returns
// when the user has closed it.
void ReportAlreadyRunning();

// Applies the theme "Light"; without it, says "Style 'Light' not found" in an error
// box with a single Close button and goes on with the default look.
void ApplyProgramTheme();

} // namespace vn
