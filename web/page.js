// The page around a program: starts it on its canvas with its texture in the program's
// folder, shows its message boxes as a dialog, says when it has ended and offers to start it
// again, and takes a visitor's own texture.bmp from the file picker or a drop.
"use strict";

const rotozoomPage = {
  closeRequested: false,
  running: false,
  waiting: null,        // set by the program: whether it is inside a wait
  factory: null,
  texture: null,        // the bytes of texture.bmp for the next start
  textureUrl: null,

  // Starts the program; `textureUrl` is the sample texture to fetch (null: none needed).
  async start(factory, textureUrl) {
    this.factory = factory;
    this.textureUrl = textureUrl;
    if (textureUrl) {
      const response = await fetch(textureUrl);
      this.texture = new Uint8Array(await response.arrayBuffer());
    }
    this.wireControls();
    this.run();
  },

  run() {
    const page = this;
    this.closeRequested = false;
    this.running = true;
    this.waiting = null;
    document.getElementById("ended").classList.remove("shown");
    const canvas = document.getElementById("canvas");
    canvas.focus();
    this.factory({
      canvas,
      rotozoomPage: page,
      preRun: [module => {
        if (page.texture) module.FS.writeFile("texture.bmp", page.texture);
      }],
      print: text => console.log(text),
      printErr: text => console.log(text),
      // The program's exit stops it where it is, by an exception that nothing needs to see.
      quit: (status, toThrow) => {
        if (!(page.waiting && page.waiting())) page.ended(status);
        throw toThrow;
      },
    }).catch(error => page.ended(`an error: ${error}`));
  },

  ended(status) {
    if (!this.running) return;
    this.running = false;
    if (this.pendingRestart) {
      this.pendingRestart = false;
      setTimeout(() => this.run(), 0);
      return;
    }
    document.getElementById("ended-text").textContent =
        `The program has ended (exit status ${status}).`;
    document.getElementById("ended").classList.add("shown");
    document.title = document.title.replace(/ \(ended\)$/, "") + " (ended)";
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
    if (this.running) {
      this.pendingRestart = true;
      this.closeRequested = true;
    } else {
      this.run();
    }
  },

  wireControls() {
    const page = this;
    const quiet = event => {
      const error = event.reason || event.error;
      if (error && error.name === "ExitStatus") event.preventDefault();
    };
    window.addEventListener("error", quiet);
    window.addEventListener("unhandledrejection", quiet);
    document.getElementById("again").addEventListener("click", () => page.run());
    const canvas = document.getElementById("canvas");
    canvas.addEventListener("contextmenu", event => event.preventDefault());
    const picker = document.getElementById("texture");
    if (!picker) return;
    picker.addEventListener("change", async () => {
      if (picker.files.length) page.useTexture(new Uint8Array(await picker.files[0].arrayBuffer()));
    });
    const stage = document.getElementById("stage");
    stage.addEventListener("dragover", event => {
      event.preventDefault();
      stage.classList.add("dropping");
    });
    stage.addEventListener("dragleave", () => stage.classList.remove("dropping"));
    stage.addEventListener("drop", async event => {
      event.preventDefault();
      stage.classList.remove("dropping");
      const file = event.dataTransfer.files[0];
      if (file) page.useTexture(new Uint8Array(await file.arrayBuffer()));
    });
  },
};
