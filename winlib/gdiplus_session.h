#pragma once
// GDI+ for the whole program: started once by the first session made, shut down with the last.
// The program needs it only to decode the JPEG skin images (image_file.h).
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const;
};
