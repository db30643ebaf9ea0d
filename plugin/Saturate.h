#pragma once
// Saturate: the memoryless curve that gives Brask its colour, on the audio and the detector.
//
// x + k * (sin(x^4) - (tanh(x^3) - tanh(x^4))): almost transparent for small signals, bending
// large ones unevenly because x^4 is even, so positive and negative peaks are shaped
// differently. Double precision throughout.

// Brask's amount k, 10^-2.25; the processing recomputes it with pow at the start of each block.
constexpr double kSaturationAmount = 0.005623413251903491;

double Saturate(double x, double k);
