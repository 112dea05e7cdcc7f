#pragma once

// Makes the fonts the windows are designed for ("MS Sans Serif", "Tahoma")
// available where a metric-compatible copy is installed (Debian's fonts-wine
// keeps them outside fontconfig), and names close substitutes for the rest.
void RegisterDesignFonts();
