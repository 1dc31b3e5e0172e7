#pragma once

// PSNR and SSIM of decoded pictures against their sources, the same
// arithmetic for every codec compared.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

struct PictureScore {
  double psnr_db = 0;
  double ssim = 0;
};

// PSNR over all B, G and R bytes of one picture.
inline double Psnr(const std::vector<uint8_t>& a,
                   const std::vector<uint8_t>& b) {
  double squared = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = double(a[i]) - double(b[i]);
    squared += d * d;
  }
  return 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) /
                         std::max(squared, 1.0));
}

inline std::vector<double> Luma(const std::vector<uint8_t>& bgr) {
  std::vector<double> y(bgr.size() / 3);
  for (size_t i = 0; i < y.size(); ++i)
    y[i] = 0.114 * bgr[3 * i] + 0.587 * bgr[3 * i + 1] + 0.299 * bgr[3 * i + 2];
  return y;
}

// SSIM of the luma, the mean over 8 × 8 windows four pixels apart.
inline double Ssim(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                   int w, int h) {
  const std::vector<double> x = Luma(a), y = Luma(b);
  constexpr double c1 = 6.5025, c2 = 58.5225;  // (0.01·255)², (0.03·255)²
  double total = 0;
  int windows = 0;
  for (int top = 0; top + 8 <= h; top += 4) {
    for (int left = 0; left + 8 <= w; left += 4) {
      double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
      for (int r = top; r < top + 8; ++r) {
        for (int c = left; c < left + 8; ++c) {
          const double p = x[size_t(r) * size_t(w) + size_t(c)],
                       q = y[size_t(r) * size_t(w) + size_t(c)];
          sx += p, sy += q, sxx += p * p, syy += q * q, sxy += p * q;
        }
      }
      const double mx = sx / 64, my = sy / 64, vx = sxx / 64 - mx * mx,
                   vy = syy / 64 - my * my, cov = sxy / 64 - mx * my;
      total += ((2 * mx * my + c1) * (2 * cov + c2)) /
               ((mx * mx + my * my + c1) * (vx + vy + c2));
      ++windows;
    }
  }
  return windows ? total / windows : 0;
}

// The mean over the pictures both sides have.
inline PictureScore Score(const std::vector<std::vector<uint8_t>>& source,
                          const std::vector<std::vector<uint8_t>>& decoded,
                          int w, int h) {
  const size_t n = std::min(source.size(), decoded.size());
  PictureScore s;
  for (size_t i = 0; i < n; ++i) {
    s.psnr_db += Psnr(source[i], decoded[i]);
    s.ssim += Ssim(source[i], decoded[i], w, h);
  }
  if (n > 0) s.psnr_db /= double(n), s.ssim /= double(n);
  return s;
}
