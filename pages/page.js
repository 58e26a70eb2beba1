// The page around a program: starts it on its canvas with its texture in the program's
// folder, shows its message boxes as a dialog, says when it has ended and offers to start it
// again, and takes a visitor's own picture from the file picker or a drop (made into the
// texture by picture_texture.js where the page has it, else taken as texture.bmp). Where the page
// has them, it saves the picture (Alt+P, saved_picture.js) and records what the program shows
// (Alt+R, recording.js). How the picture is shown (the look, full screen, the canvas's size)
// is view.js's.
//
// Every start makes a new instance of the program's module, on a canvas of its own. Nothing may
// keep an ended instance reachable (its listeners on the page, its waits' timers and frame
// requests, the page's hooks), or it stays alive with all its memory and still runs its
// handlers. startProgram is the one place where a program starts, programEnded the one where it
// ends.
"use strict";

const rotozoomPage = {
  factory: null,
  texture: null,            // the bytes of texture.bmp for the next start
  program: null,            // the running program's hooks (see startProgram); null when none runs
  restartWhenEnded: false,  // a start waits for the running program to end
  recording: null,          // the recording in progress (a RotozoomRecording), or null
  filesChosen: 0,           // the visitor's files so far: only the last one chosen is used

  // Starts the program; `textureUrl` is the sample texture to fetch (null: none needed).
  async start(factory, textureUrl) {
    this.factory = factory;
    if (textureUrl) {
      const response = await fetch(textureUrl);
      this.texture = new Uint8Array(await response.arrayBuffer());
    }
    this.wireControls();
    rotozoomView.wire();
    this.startProgram();
  },

  // Starts a new instance of the program, or, while one runs, asks it to end and starts the new
  // one when it has.
  startProgram() {
    if (this.program) {
      this.restartWhenEnded = true;
      this.program.closeRequested = true;
      return;
    }
    const page = this;
    const view = rotozoomView;
    // What the program reads and sets through Module.rotozoomPage (web_page_calls.cpp).
    const program = {
      closeRequested: false,
      waiting: null,        // set by the program: whether it is inside a wait
      stopListening: null,  // set by the program: takes its listeners off the page
      showDialog: (caption, text) => page.showDialog(caption, text),
      screen: kind => view.screenChosen(kind),
      freshCanvas: () => page.freshCanvas(),
      standIn: null,  // the 2D canvas the program draws on while its WebGL2 context is lost
      showStandIn: shown => page.showStandIn(program, shown),
      // Everything on WebGL even where it runs on the processor: tests of the GPU presenter
      // set window.rotozoomWebGlOnly before the page loads.
      webGlOnly: window.rotozoomWebGlOnly === true,
      copyCanvas: null,  // the 2D canvas the program puts its scaled picture on, while it does
      showCopyCanvas: shown => page.showCopyCanvas(program, shown),
      get look() { return view.look; },
      get canvasPixels() { return view.canvasPixels; },
    };
    this.program = program;
    document.getElementById("ended").classList.remove("shown");
    const canvas = this.freshCanvas();
    canvas.focus();
    const texture = this.texture;
    this.factory({
      canvas,
      rotozoomPage: program,
      preRun: [module => {
        if (texture) module.FS.writeFile("texture.bmp", texture);
      }],
      print: text => console.log(text),
      printErr: text => console.log(text),
      // The program's exit stops it where it is, by an exception that nothing needs to see.
      quit: (status, toThrow) => {
        if (!(program.waiting && program.waiting()))
          page.programEnded(program, `exit status ${status}`);
        throw toThrow;
      },
    }).catch(error => page.programEnded(program, `an error: ${error}`));
  },

  // Called however the program ends (its exit, an error it did not catch). Its listeners come
  // off the page and the page lets go of its hooks, so that the ended instance can be
  // collected; then the page says so, or starts the next one.
  programEnded(program, how) {
    if (program !== this.program) return;
    this.program = null;
    // A recording still running is finished and saved.
    if (this.recording) this.recording.stop();
    if (program.stopListening) program.stopListening();
    if (this.restartWhenEnded) {
      this.restartWhenEnded = false;
      // Not from inside the ended program's exit, which is still unwinding; and only if no
      // other start came first meanwhile.
      setTimeout(() => {
        if (!this.program) this.startProgram();
      }, 0);
      return;
    }
    document.getElementById("ended-text").textContent = `The program has ended (${how}).`;
    document.getElementById("ended").classList.add("shown");
    document.title = document.title.replace(/ \(ended\)$/, "") + " (ended)";
  },

  // Puts a new canvas in the old one's place, for a program starting now (or one whose WebGL2
  // context failed it). The old canvas's WebGL context, if it had one, is given up at once rather
  // than when it is collected: browsers keep only a few alive.
  freshCanvas() {
    const old = document.getElementById("canvas");
    for (const over of document.querySelectorAll("#stand-in, #copy")) over.remove();
    const canvas = old.cloneNode(false);
    canvas.classList.remove("gpu");
    old.replaceWith(canvas);
    if (old.classList.contains("gpu")) {
      const context = old.getContext("webgl2");
      const lose = context && context.getExtension("WEBGL_lose_context");
      if (lose) lose.loseContext();
    }
    rotozoomView.useCanvas(canvas);
    return canvas;
  },

  // While the program's WebGL2 context is lost, a 2D canvas over its canvas takes the picture
  // (a canvas that had a WebGL context gives no 2D one, and replacing it would take the
  // program's pointer listeners with it); the pointer's events go through to the canvas below.
  // Taken away when the context is back, or with the canvas at the next start.
  showStandIn(program, shown) {
    this.overlayCanvas(program, "standIn", "stand-in", shown);
    rotozoomView.contextLost = shown;
    rotozoomView.showNotice(shown ? "the GPU's context was lost: the picture without the looks"
                                  : `the GPU's context is back: ${rotozoomView.look}`);
  },

  // Where WebGL runs on the processor (SwiftShader, llvmpipe), the browser reads each WebGL
  // frame back to composite it, which costs several times what a 2D canvas of the same pixels
  // does: the program then puts the plain looks, scaled already, on a 2D canvas over its own
  // (web_processor_path.cpp). Taken away when it draws with WebGL again, or at the next start.
  showCopyCanvas(program, shown) {
    this.overlayCanvas(program, "copyCanvas", "copy", shown);
  },

  // A canvas of the program's over its own, kept as program[slot]: the one there taken away,
  // and with `shown` a new one named `id` put right after the program's canvas.
  overlayCanvas(program, slot, id, shown) {
    if (program[slot]) program[slot].remove();
    program[slot] = null;
    if (!shown) return;
    const overlay = document.createElement("canvas");
    overlay.id = id;
    document.getElementById("canvas").after(overlay);
    program[slot] = overlay;
  },

  // The program's message box; resolves when OK is pressed (or the dialog is closed).
  showDialog(caption, text) {
    const box = document.getElementById("box");
    document.getElementById("box-caption").textContent = caption;
    document.getElementById("box-text").textContent = text;
    return new Promise(resolve => {
      box.addEventListener("close", () => resolve(), {once: true});
      box.showModal();
      document.getElementById("box-ok").focus();
    });
  },

  // A visitor's texture: the program ends and starts again on it.
  useTexture(bytes) {
    this.texture = bytes;
    this.startProgram();
  },

  // A visitor's file, picked or dropped: made into the texture where it is a picture of
  // another kind than the program reads, then used.
  // A picture refused (too large, say) is said over the picture, and the program goes on.
  async useFile(file) {
    const chosen = ++this.filesChosen;
    let made;
    try {
      made = typeof rotozoomTextures !== "undefined"
                 ? await rotozoomTextures.fromFile(file)
                 : {bytes: new Uint8Array(await file.arrayBuffer())};
    } catch (error) {
      made = {refused: `it cannot be read (${error.message})`};
    }
    if (chosen !== this.filesChosen) return;  // a later file was chosen meanwhile
    if (made.refused) {
      const line = `${file.name} is not taken: ${made.refused}`;
      console.log(`texture: ${line}`);
      rotozoomView.showNotice(line, 5000);
      return;
    }
    this.useTexture(made.bytes);
  },

  // Saves the picture the program shows now (Alt+P), as the desktop's Print Screen does.
  savePicture() {
    const say = line => {
      console.log(`picture: ${line}`);
      rotozoomView.showNotice(line);
    };
    const saving = rotozoomFiles.savePicture(this.program);
    if (!saving) {
      say("no picture to save: the program shows none");
      return;
    }
    saving.saved.then(() => say(`saved ${saving.name}`),
                      error => say(`${saving.name} not saved: ${error.message}`));
  },

  // Starts recording what the program shows, or stops the recording in progress (Alt+R).
  toggleRecording() {
    if (this.recording) {
      this.recording.stop();
      return;
    }
    if (!this.program) return;
    const recording = new RotozoomRecording(this.program, line => {
      if (this.recording === recording) this.recording = null;
      this.showRecording();
      rotozoomView.showNotice(line.replace(/^recording: /, ""));
    });
    this.recording = recording;
    this.showRecording();
    recording.start().then(
        how => console.log(`recording: started (${how})`),
        error => {
          recording.failure = error.message;
          recording.stop();
        });
  },

  // The button's text, and REC over the picture meanwhile.
  showRecording() {
    const on = Boolean(this.recording);
    const button = document.getElementById("record");
    if (button) {
      button.textContent = on ? "Stop recording (Alt+R)" : "Record (Alt+R)";
      button.setAttribute("aria-pressed", String(on));
    }
    document.getElementById("stage").classList.toggle("recording", on);
  },

  wireControls() {
    const page = this;
    // The program's exit is an exception that nothing needs to see. A trap or the runtime's
    // abort (a WebAssembly.RuntimeError) that nothing caught has ended the running program.
    const uncaught = event => {
      const error = event.reason || event.error;
      if (error && error.name === "ExitStatus") event.preventDefault();
      if (error instanceof WebAssembly.RuntimeError && page.program)
        page.programEnded(page.program, `an error: ${error.message}`);
    };
    window.addEventListener("error", uncaught);
    // A recording lives only in the page until it is saved: leaving asks first.
    window.addEventListener("beforeunload", event => {
      if (page.recording) event.preventDefault();
    });
    window.addEventListener("unhandledrejection", uncaught);
    document.getElementById("again").addEventListener("click", () => page.startProgram());
    // The saved picture and the recording, on pages that load their scripts.
    if (typeof rotozoomFiles !== "undefined" && typeof RotozoomRecording !== "undefined") {
      rotozoomView.letterKeys.p = () => page.savePicture();
      rotozoomView.letterKeys.r = () => page.toggleRecording();
      const save = document.getElementById("save-picture");
      if (save) save.addEventListener("click", () => page.savePicture());
      const record = document.getElementById("record");
      if (record) record.addEventListener("click", () => page.toggleRecording());
    }
    const stage = document.getElementById("stage");
    // The right button belongs to the program (each start's canvas is a new one).
    stage.addEventListener("contextmenu", event => {
      if (event.target.id === "canvas") event.preventDefault();
    });
    const picker = document.getElementById("texture");
    if (!picker) return;
    picker.addEventListener("change", async () => {
      const file = picker.files[0];
      // Emptied, so that picking the same file again (changed since, say) is a change too.
      picker.value = "";
      if (file) page.useFile(file);
    });
    stage.addEventListener("dragover", event => {
      event.preventDefault();
      stage.classList.add("dropping");
    });
    stage.addEventListener("dragleave", () => stage.classList.remove("dropping"));
    stage.addEventListener("drop", async event => {
      event.preventDefault();
      stage.classList.remove("dropping");
      const file = event.dataTransfer.files[0];
      if (file) page.useFile(file);
    });
  },
};
