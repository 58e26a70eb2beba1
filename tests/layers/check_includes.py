#!/usr/bin/env python3
"""The layers' include rules, checked over the sources.

Each product file may include only what its layer is allowed: the table below lists, for the
folder a file is in, the paths of the tree and the outside libraries it may include. Arrows go
down (demo -> display -> host -> platform/win32.h): display uses a few host headers named here,
and host includes nothing of display; only the platform sees SDL, FreeType, fontconfig, X11,
iconv and FFmpeg.
Tests and benchmarks may include anything. Prints every forbidden edge; status 1 when any.
"""
import pathlib
import re
import sys

PORTABLE_API = ["platform/win32.h", "platform/files/regular_file.h"]

# folder -> paths of the tree its files may include (a path ending in / is a whole folder)
ALLOWED_PATHS = {
    "demo/": ["demo/", "host/", "display/"] + PORTABLE_API,
    "host/": ["host/"] + PORTABLE_API,
    "display/": [
        "display/",
        "host/display_hooks.h",    # the teardown and window-move hooks it registers
        "host/fatal_exit.h",       # set-up and the font text end the program through it
        "host/file_not_found.h",   # the file loaders' exit
        "host/shared_data.h",      # mainWindow and messageText
        "host/timed_waits.h",      # the fades' pace
    ] + PORTABLE_API,
    "examples/": ["examples/", "display/", "host/"] + PORTABLE_API,
    "platform/win32.h": [
        "platform/compat/win32_types.h",
        "platform/compat/ddraw_api.h",
        "platform/compat/gdi_api.h",
        "platform/compat/user32_api.h",
    ],
    "platform/files/": ["platform/files/"],
    # the PNG and video writers take frames as the seam hands them
    "platform/media/": ["platform/media/", "platform/compat/screen.h"],
    # the Win32 subset: nothing of the screens but the seam it defines
    "platform/compat/": ["platform/compat/", "platform/files/regular_file.h"],
    # what every screen shares, under compat's seam
    "platform/screen_core/": ["platform/screen_core/", "platform/compat/screen.h",
                              "platform/compat/virtual_keys.h"],
    # compat's platform pieces on Linux: what they define, declared by compat
    "platform/desktop/": [
        "platform/desktop/",
        "platform/compat/bitmap_file.h",
        "platform/compat/text_encoding.h",
        "platform/compat/gdi_fonts.h",
    ],
    # the sharp look's scaler and frame type serve a GL that runs on the processor; the CRT's
    # beam geometry is the processor's CRT look's too
    "platform/gles/": ["platform/gles/", "platform/compat/screen.h",
                       "platform/screen_core/looks.h", "platform/screen_core/rgba_frame.h",
                       "platform/screen_core/sharp_scaler.h", "platform/screen_core/crt_beam.h",
                       "platform/screen_core/notice_font.h"],
    "platform/headless/": ["platform/headless/", "platform/compat/screen.h",
                           "platform/screen_core/frame_pacer.h"],
    "platform/web/": [
        "platform/web/",
        "platform/compat/screen.h",
        "platform/screen_core/presenting_screen.h",
        "platform/screen_core/frame_pacer.h",
        "platform/screen_core/shown_area.h",
        "platform/screen_core/rgba_frame.h",
        "platform/screen_core/sharp_scaler.h",
        "platform/screen_core/crt_scaler.h",
        "platform/screen_core/crt_beam.h",
        "platform/compat/virtual_keys.h",
        "platform/screen_core/physical_keys.h",
        "platform/compat/gdi_fonts.h",
        "platform/compat/bitmap_file.h",
        "platform/compat/text_encoding.h",
        "platform/screen_core/looks.h",
        "platform/screen_core/look_pace.h",
        "platform/screen_core/notice_font.h",
        "platform/gles/gles_presenter.h",
        "platform/gles/gles_functions.h",
        "platform/media/video_colours.h",  # the recordings' frames, as the desktop makes them
    ],
    "platform/sdl/": [
        "platform/sdl/",
        "platform/compat/screen.h",
        "platform/screen_core/presenting_screen.h",
        "platform/screen_core/frame_pacer.h",
        "platform/screen_core/shown_area.h",
        "platform/compat/virtual_keys.h",
        "platform/screen_core/physical_keys.h",
        "platform/compat/text_layout.h",
        "platform/media/indexed_png.h",
        "platform/media/video_file.h",
        "platform/media/video_recorder.h",
        "platform/files/regular_file.h",
        "platform/screen_core/looks.h",
        "platform/screen_core/look_pace.h",
        "platform/screen_core/notice_font.h",
        # the looks drawn on the processor (where the GL runs there itself)
        "platform/screen_core/sharp_scaler.h",
        "platform/screen_core/crt_scaler.h",
        "platform/screen_core/crt_beam.h",
        "platform/gles/gles_presenter.h",
        "platform/gles/gles_functions.h",
    ],
    # the texture maker's own code, also built for the page: pure C++, nothing else of the tree
    "tools/texture/": ["tools/texture/"],
    "tools/": ["tools/", "demo/", "host/shared_data.h", "platform/compat/screen.h",
               "platform/compat/testing.h", "platform/headless/", "platform/win32.h",
               "platform/media/indexed_png.h", "platform/media/video_file.h"],
}

# outside libraries: the include's start -> the only files that may use it
OUTSIDE = {
    "SDL": ["platform/sdl/", "platform/desktop/bitmap_decode_sdl.cpp",
            "tools/picture_file.cpp"],
    "ft2build.h": ["platform/desktop/fonts_freetype_fontconfig.cpp"],
    "fontconfig/": ["platform/desktop/fonts_freetype_fontconfig.cpp"],
    "X11/": ["platform/sdl/"],
    "iconv.h": ["platform/desktop/text_encoding_iconv.cpp"],
    "emscripten": ["platform/web/"],
    # OpenGL ES: the presenter's types and constants; the screens pass it the entry points.
    "GLES3/": ["platform/gles/gles_api.h"],
    # Emscripten's WebGL functions, which fill the presenter's table in the browser.
    "webgl/": ["platform/web/web_gl_functions.cpp"],
    # FFmpeg's libraries: the video files' encoder alone.
    "libav": ["platform/media/video_file.cpp"],
    # The real Windows headers only through platform/win32.h.
    "windows.h": ["platform/win32.h", "platform/files/regular_file.cpp"],
    "ddraw.h": ["platform/win32.h"],
    "mmsystem.h": ["platform/win32.h"],
}

PRODUCT_FOLDERS = ["demo", "host", "display", "examples", "platform", "tools"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def rule_for(relative):
    """The longest table key that the file's path starts with."""
    keys = [k for k in ALLOWED_PATHS if relative.startswith(k)]
    return max(keys, key=len) if keys else None


def allowed(path_list, target):
    return any(target == p or (p.endswith("/") and target.startswith(p)) for p in path_list)


def main(root):
    root = pathlib.Path(root)
    problems = []
    checked = 0
    for folder in PRODUCT_FOLDERS:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            relative = source.relative_to(root).as_posix()
            rule = rule_for(relative)
            if rule is None:
                problems.append(f"{relative}: no rule for its folder in the table")
                continue
            checked += 1
            for kind, target in INCLUDE.findall(source.read_text(encoding="utf-8")):
                outside = [k for k in OUTSIDE if target.startswith(k)]
                if outside:
                    if not allowed(OUTSIDE[outside[0]], relative):
                        problems.append(f"{relative}: includes <{target}>, which only "
                                        f"{', '.join(OUTSIDE[outside[0]])} may use")
                    continue
                if kind == '"' and not allowed(ALLOWED_PATHS[rule], target):
                    problems.append(f"{relative}: includes \"{target}\" across a forbidden edge "
                                    f"(rule {rule})")
    for line in problems:
        print(line)
    print(f"{checked} files checked, {len(problems)} forbidden includes")
    return 1 if problems or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
