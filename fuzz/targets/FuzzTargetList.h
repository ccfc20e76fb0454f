// The fuzz targets, one line each: the name of the harness program
// (fuzz_<name>) and of its corpus folders, and the target function. Both the
// target table and the build (which makes one program per line) read this
// list, so each line keeps its one-line form.
VK_FUZZ_TARGET_ENTRY(layout, FuzzLayout)
VK_FUZZ_TARGET_ENTRY(textform, FuzzTextForm)
VK_FUZZ_TARGET_ENTRY(formconv, FuzzFormConv)
VK_FUZZ_TARGET_ENTRY(dbf, FuzzDbf)
VK_FUZZ_TARGET_ENTRY(paradox, FuzzParadox)
VK_FUZZ_TARGET_ENTRY(picture, FuzzPicture)
VK_FUZZ_TARGET_ENTRY(expression, FuzzExpression)
