// How the page shows the running program's picture; the program never sees any of it, and
// takes the look and the canvas's size from here (web_page_calls.cpp):
// - the look: "integer" (whole factors, black bars), "sharp" (the largest area of the
//   picture's shape, edges blended over one screen pixel) or "crt" (as a monitor of its time
//   showed it), chosen with the selector or Alt+L, its name shown for a moment over the picture;
// - full screen for the stage, with the button or Alt+Enter;
// - both remembered for each page in the browser's storage, where it keeps any;
// - the canvas's displayed size in device pixels, at which a program drawing with WebGL2 makes
//   its drawing buffer. A program drawing on a 2D canvas puts the picture there at its own
//   size instead, and the style sheet scales it (nearest sampling, without the looks).
// - whether the look keeps the display mode's 60 frames a second: where it does not, the page
//   says so once, naming the look that costs less, and leaves the choice as it is.
// The keys are the page's: its listeners come before the program's and keep the keys from it.
"use strict";

const rotozoomView = {
  looks: ["integer", "sharp", "crt"],
  look: "sharp",
  canvas: null,
  canvasPixels: {width: 0, height: 0},  // the canvas's displayed size in device pixels
  gpu: false,                           // whether the program draws with WebGL2
  contextLost: false,                   // its WebGL2 context is lost: a stand-in shows the picture
  observer: null,
  noticeTimer: 0,
  fullScreenWanted: false,  // remembered from an earlier visit; entered at the first gesture

  // Reads and writes the remembered settings, for each page by itself (as each program has its
  // own on the desktop). A browser may keep no storage, or refuse it (with an exception): the
  // page then remembers nothing and works as before.
  settingName(name) {
    const page = location.pathname.split("/").pop().replace(/\.html$/, "") || "rotozoom";
    return `rotozoom:${page}.${name}`;
  },
  setting(name) {
    try {
      return localStorage.getItem(this.settingName(name));
    } catch (error) {
      return null;
    }
  },
  remember(name, value) {
    try {
      localStorage.setItem(this.settingName(name), value);
    } catch (error) {
      // Not remembered; nothing else depends on it.
    }
  },

  // Wires the controls that the page has (each is optional) and the keys; once, at load.
  wire() {
    const stored = this.setting("look");
    this.look = this.looks.includes(stored) ? stored : "sharp";
    const selector = document.getElementById("look");
    if (selector) {
      selector.value = this.look;
      selector.addEventListener("change", () => {
        this.chooseLook(selector.value);
        if (this.canvas) this.canvas.focus();
      });
    }
    const button = document.getElementById("fullscreen");
    if (button) button.addEventListener("click", () => this.toggleFullScreen());
    document.addEventListener("fullscreenchange", () => this.fullScreenChanged());
    // In the capture phase on the window, and before any program's listener there.
    window.addEventListener("keydown", event => this.takeKey(event), true);
    window.addEventListener("keyup", event => this.takeKey(event), true);
    window.addEventListener("pointerdown", () => this.restoreFullScreen(), true);
    this.fullScreenWanted = this.setting("fullscreen") === "on";
    this.showState();
    requestAnimationFrame(now => this.watchPace(now));
    // A hidden page gets no animation frames, so watchPace never sees it hidden: the seconds
    // it was would count as slow ones at its return. It starts its count anew instead.
    document.addEventListener("visibilitychange", () => { this.pace.shown = ""; });
  },

  // The page's frames a second, counted on its animation frames, which come at the display's
  // rate while the page keeps up and fewer when drawing the look takes longer than a frame (in
  // headless Chromium's software WebGL the crt look at 1920 x 1080 gets 15). A look is too slow
  // when, after two seconds to settle, three seconds in a row each show fewer than 54 frames
  // while a program draws with WebGL2, the page in view; said once a look, on the console and
  // over the picture, as the desktop says it.
  pace: {shown: "", settledAt: 0, secondStart: 0, frames: 0, slowSeconds: 0, said: new Set()},
  watchPace(now) {
    requestAnimationFrame(next => this.watchPace(next));
    const pace = this.pace;
    const judged = this.gpu && !this.contextLost && !document.hidden;
    // A new look or size starts the count anew: a look that keeps up in a window may not in
    // full screen.
    const shown = `${this.look} ${this.canvasPixels.width}x${this.canvasPixels.height}`;
    if (!judged || pace.shown !== shown) {
      pace.shown = shown;
      pace.settledAt = now + 2000;
      pace.secondStart = pace.settledAt;
      pace.frames = pace.slowSeconds = 0;
      return;
    }
    if (now < pace.secondStart) return;
    ++pace.frames;
    if (now - pace.secondStart < 1000) return;
    pace.slowSeconds = pace.frames < 54 ? pace.slowSeconds + 1 : 0;
    pace.secondStart = now;
    pace.frames = 0;
    if (pace.slowSeconds < 3 || pace.said.has(this.look)) return;
    pace.said.add(this.look);
    const cheaper = this.looks[this.looks.indexOf(this.look) - 1];
    const line = `the ${this.look} look cannot keep 60 Hz here` +
                 (cheaper ? `: ${cheaper} costs less` : "");
    console.log(`page: ${line}`);
    this.showNotice(line, 4000);
  },

  // The page's keys: Alt+L cycles the looks and Alt+Enter toggles full screen, as on the
  // desktop; Alt with a letter of `letterKeys` does what page.js put there (Alt+P saves the
  // picture, Alt+R records). Their presses and releases are kept from the program.
  letterKeys: {},
  takeKey(event) {
    const enter = event.code === "Enter" || event.code === "NumpadEnter";
    // A letter wherever the layout puts it; by its place where Alt makes it type another
    // character.
    const letter = /^[a-z]$/i.test(event.key) ? event.key.toLowerCase()
                   : /^Key[A-Z]$/.test(event.code) ? event.code.slice(3).toLowerCase() : null;
    const action = enter ? () => this.toggleFullScreen()
                   : letter === "l" ? () => this.nextLook() : this.letterKeys[letter];
    if (!event.altKey || !action) {
      if (event.type === "keydown") this.restoreFullScreen();
      return;
    }
    event.preventDefault();
    event.stopImmediatePropagation();
    if (event.type !== "keydown" || event.repeat) return;
    action();
  },

  nextLook() {
    this.chooseLook(this.looks[(this.looks.indexOf(this.look) + 1) % this.looks.length]);
  },

  chooseLook(look) {
    if (!this.looks.includes(look)) return;
    this.look = look;
    this.remember("look", look);
    this.showState();
    this.showNotice(!this.gpu           ? `${look} (needs WebGL2; the browser scales the picture)`
                    : this.contextLost ? `${look} (once the GPU's context is back)`
                                       : look);
  },

  // The look's name over the picture for a moment (`ms`): the page's, not part of the picture.
  showNotice(text, ms = 1200) {
    const notice = document.getElementById("notice");
    if (!notice) return;
    notice.textContent = text;
    notice.classList.add("shown");
    clearTimeout(this.noticeTimer);
    this.noticeTimer = setTimeout(() => notice.classList.remove("shown"), ms);
  },

  toggleFullScreen() {
    this.fullScreenWanted = false;
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
      return;
    }
    document.getElementById("stage").requestFullscreen().catch(
        error => console.log(`The browser keeps the page out of full screen: ${error.message}`));
  },

  // A page left in full screen comes back in it; browsers let a page enter full screen only
  // from a click or a key press, so at the visitor's first (Escape gives no such right).
  restoreFullScreen() {
    if (!this.fullScreenWanted || document.fullscreenElement) return;
    if (navigator.userActivation && !navigator.userActivation.isActive) return;
    this.fullScreenWanted = false;
    document.getElementById("stage").requestFullscreen().catch(() => {});
  },

  fullScreenChanged() {
    this.remember("fullscreen", document.fullscreenElement ? "on" : "off");
    this.showState();
  },

  showState() {
    const selector = document.getElementById("look");
    if (selector) selector.value = this.look;
    const button = document.getElementById("fullscreen");
    if (button) {
      const on = Boolean(document.fullscreenElement);
      button.textContent = on ? "Leave full screen (Alt+Enter)" : "Full screen (Alt+Enter)";
      button.setAttribute("aria-pressed", String(on));
    }
  },

  // The canvas of a program starting now: its displayed size in device pixels, measured now
  // and again whenever it changes (a resize, full screen, the browser's zoom).
  useCanvas(canvas) {
    if (this.observer) this.observer.disconnect();
    this.canvas = canvas;
    this.gpu = false;
    this.contextLost = false;
    const box = canvas.getBoundingClientRect();
    this.canvasPixels = {width: Math.round(box.width * devicePixelRatio),
                         height: Math.round(box.height * devicePixelRatio)};
    this.observer = new ResizeObserver(([entry]) => {
      // The exact device pixels where the browser tells them, else the CSS size scaled. An
      // emulated pixel ratio (the developer tools' device mode) leaves the exact size at the
      // real screen's ratio, while the page is drawn at the emulated one: the scaled size
      // holds then.
      const css = entry.contentBoxSize[0];
      const scaled = {width: Math.round(css.inlineSize * devicePixelRatio),
                      height: Math.round(css.blockSize * devicePixelRatio)};
      const exact = entry.devicePixelContentBoxSize && entry.devicePixelContentBoxSize[0];
      const agree = exact && Math.abs(exact.inlineSize - scaled.width) <= 1 &&
                    Math.abs(exact.blockSize - scaled.height) <= 1;
      this.canvasPixels = agree ? {width: exact.inlineSize, height: exact.blockSize} : scaled;
    });
    try {
      this.observer.observe(canvas, {box: "device-pixel-content-box"});
    } catch (error) {
      this.observer.observe(canvas);
    }
  },

  // Called by the program once it knows how it draws: "webgl2", or "2d" without it.
  screenChosen(kind) {
    this.gpu = kind === "webgl2";
    this.canvas.classList.toggle("gpu", this.gpu);
  },
};
