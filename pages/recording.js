// A recording of what the program shows, made on the page and downloaded by the browser as
// rotozoom-DATE-TIME.mp4 (or .webm): the exact pictures, not a capture of the look, at the
// display mode's 60 Hz, each picture pixel a solid 4 x 4 block (2 x 2 above 480 x 360), as the
// desktop's recordings are. The module converts each picture it shows into Y'CbCr 4:2:0 with
// the desktop's conversion (web_page_pictures.cpp); the browser's encoder (WebCodecs) encodes
// it, in the first codec it says it supports of H.264 in MP4, VP9 in WebM and VP8 in WebM; the
// muxer is Mediabunny's (mediabunny.js, beside this file, loaded at the first recording).
//
// Tick n of the video is the picture shown n/60 s after the start: a tick without a new
// picture repeats the last, so the video runs in real time however the program paces itself,
// and when two pictures fall on one tick the later wins. The encoder runs on the browser's own
// threads; the program's thread only converts a picture (once per picture shown) and hands it
// over. At most `queueLimit` pictures wait for the encoder: when it falls behind, a tick that
// finds the queue full is dropped (the frame before it lasts a tick longer, so the video keeps
// real time) and counted; the count is said when the recording stops.
"use strict";

class RotozoomRecording {
  static tickMs = 1000 / 60;
  // Half a second of pictures (1.8 MB each at 1280 x 960): the encoder may lag that far behind
  // before ticks are dropped.
  static queueLimit = 30;
  static keyFrameTicks = 120;  // a key frame every 2 s, where a player can seek to
  // The page holds the whole video in memory until it is saved, and a copy of it as it is
  // handed to the browser: a recording stops on its own and is saved when its encoded frames
  // reach 1 GiB (about 4 minutes at 40 Mbit/s), before the tab runs out of memory and
  // loses it.
  static maxBytes = 2 ** 30;
  // Kept pictures' colours are BT.709 in the limited range, as the module converts them.
  static colorSpace = {primaries: "bt709", transfer: "bt709", matrix: "bt709", fullRange: false};

  // The codecs tried, in order, the cheapest first. H.264's High profile at level 4.2 holds
  // 1280 x 960 at 60 frames a second; about the desktop's bit rate keeps each picture pixel's
  // colour within a few levels. Chromium's software encoders' processor time a frame of the
  // demo's (on a loaded 2-core machine): H.264 at 24 Mbit/s 15-17 ms in "quality" and 16-22 ms
  // in "realtime" (the same within the noise), Baseline as High; at 12-16 Mbit/s 13-19 ms, with
  // ten times as many block centres off by more than 12 levels (1.3-2.3 %, not 0.1-0.3 %);
  // VP9 in "realtime" 41-45 ms, VP8 140-160 ms. H.264 takes 40 Mbit/s (level 4.2 allows 62.5):
  // at 24 its rate control starved the frames after a costly one, up to 7 % of their block
  // centres off by more than 32 levels.
  static choices = [
    {name: "H.264", codec: "avc", string: "avc1.64002a", format: "Mp4OutputFormat",
     extension: ".mp4", type: "video/mp4", bitrate: 40e6, latencyMode: "quality",
     extra: {avc: {format: "avc"}}},
    {name: "VP9", codec: "vp9", string: "vp09.00.41.08", format: "WebMOutputFormat",
     extension: ".webm", type: "video/webm", bitrate: 16e6, latencyMode: "realtime", extra: {}},
    {name: "VP8", codec: "vp8", string: "vp8", format: "WebMOutputFormat", extension: ".webm",
     type: "video/webm", bitrate: 24e6, latencyMode: "realtime", extra: {}},
  ];

  // The first choice the browser's encoder takes at this size, with its configuration; null
  // when none (or no WebCodecs).
  static async chooseCodec(width, height) {
    if (typeof VideoEncoder === "undefined") return null;
    for (const choice of RotozoomRecording.choices) {
      const config = {codec: choice.string, width, height, bitrate: choice.bitrate,
                      framerate: 60, latencyMode: choice.latencyMode, ...choice.extra};
      try {
        const {supported} = await VideoEncoder.isConfigSupported(config);
        if (supported) return {choice, config};
      } catch (error) {
        // A configuration this browser cannot even check: the next.
      }
    }
    return null;
  }

  // `program` is the running program's hooks (page.js); `ended` is called once the recording
  // has stopped, with a line that says how it went.
  constructor(program, ended) {
    this.program = program;
    this.ended = ended;
    this.name = rotozoomFiles.captureName(new Date(), "");
    this.stopping = false;
    this.latest = null;      // the picture for the ticks from nextTick on (a VideoFrame)
    this.size = null;        // the pictures' size in the video
    this.startTime = 0;      // tick 0, on the page's clock
    this.aligned = false;    // whether the ticks have been put in step with the pictures
    this.nextTick = 0;
    this.keyFrameDue = true;
    this.encoded = 0;        // frames given to the encoder
    this.received = 0;       // of them, encoded and handed to the muxer
    this.bytes = 0;          // their encoded size
    this.dropped = 0;
    this.writing = Promise.resolve();
    this.failure = null;
  }

  // Starts; rejects with the reason when it cannot (nothing shown, no codec, no muxer).
  async start() {
    const first = this.takePicture();
    if (!first) throw new Error("nothing is shown yet");
    const chosen = await RotozoomRecording.chooseCodec(first.codedWidth, first.codedHeight);
    if (!chosen) {
      first.close();
      throw new Error("the browser has no video encoder for it");
    }
    const muxer = await import("./mediabunny.js");
    // An MP4's index at its end, so that the muxer writes each packet into the file as it
    // comes rather than keeping them all for an index at the front.
    const formatOptions = chosen.choice.format === "Mp4OutputFormat" ? {fastStart: false} : {};
    const output = new muxer.Output({format: new muxer[chosen.choice.format](formatOptions),
                                     target: new muxer.BufferTarget()});
    const source = new muxer.EncodedVideoPacketSource(chosen.choice.codec);
    output.addVideoTrack(source, {frameRate: 60});
    await output.start();
    if (this.stopping) {  // stopped meanwhile (the key again, the program's end)
      first.close();
      output.cancel().catch(() => {});
      throw new Error("stopped as it started");
    }
    this.choice = chosen.choice;
    this.output = output;
    this.source = source;
    this.encoder = new VideoEncoder({
      output: (chunk, metadata) => {
        ++this.received;
        this.bytes += chunk.byteLength;
        if (this.bytes >= RotozoomRecording.maxBytes)
          this.stop(`it reached ${Math.round(this.bytes / 2 ** 20)} MB, the most the page holds`);
        const packet = muxer.EncodedPacket.fromEncodedChunk(chunk);
        this.writing = this.writing.then(() => this.source.add(packet, metadata));
      },
      error: error => this.fail(`the encoder failed: ${error.message}`),
    });
    this.encoder.configure(chosen.config);
    this.latest = first;
    this.size = [first.codedWidth, first.codedHeight];
    this.startTime = performance.now();
    this.program.pictureShown = () => this.pictureShown();
    // Ticks without a new picture are written from a timer; a hidden page's timers are slowed,
    // and the ticks they missed come at once then.
    this.timer = setInterval(() => this.writeTicksBefore(this.tickDue()), RotozoomRecording.tickMs);
    return `${this.choice.name}, ${this.size[0]} x ${this.size[1]}`;
  }

  // The kept picture as a frame for the encoder, or null when nothing is shown.
  takePicture() {
    const picture = this.program.takeVideoPicture();
    if (picture.width === 0) return null;
    return new VideoFrame(picture.planes, {
      format: "I420", codedWidth: picture.width, codedHeight: picture.height, timestamp: 0,
      colorSpace: RotozoomRecording.colorSpace});
  }

  // The first tick that a picture shown now may still take: the ticks before it are final.
  tickDue() {
    return Math.floor((performance.now() - this.startTime) / RotozoomRecording.tickMs + 0.5);
  }

  // The module has shown a new picture (called from inside it: nothing here may wait).
  pictureShown() {
    if (this.stopping) return;
    const now = performance.now();
    const picture = this.takePicture();
    if (!picture) return;
    if (picture.codedWidth !== this.size[0] || picture.codedHeight !== this.size[1]) {
      picture.close();
      this.stop("the picture changed size");
      return;
    }
    const tickMs = RotozoomRecording.tickMs;
    if (!this.aligned) {
      // The first picture falls on a tick exactly, taking the starting picture's place when it
      // comes within a tick of it.
      this.aligned = true;
      const elapsed = now - this.startTime;
      this.startTime = elapsed < tickMs ? now : now - Math.round(elapsed / tickMs) * tickMs;
    }
    this.writeTicksBefore(Math.round((now - this.startTime) / tickMs));
    this.latest.close();
    this.latest = picture;
  }

  // Writes the latest picture on each tick from nextTick to `tick` - 1. `last`: the last of
  // them ends the video, and is written whatever waits, so that the video lasts as long.
  writeTicksBefore(tick, last = false) {
    for (; this.nextTick < tick; ++this.nextTick) {
      if (this.nextTick % RotozoomRecording.keyFrameTicks === 0) this.keyFrameDue = true;
      const waiting = Math.max(this.encoder.encodeQueueSize, this.encoded - this.received);
      const full = waiting >= RotozoomRecording.queueLimit && !(last && this.nextTick === tick - 1);
      if (full || this.failure) {
        ++this.dropped;
        continue;
      }
      const frame = new VideoFrame(this.latest, {
        timestamp: Math.round(this.nextTick * 1e6 / 60), duration: Math.round(1e6 / 60)});
      this.encoder.encode(frame, {keyFrame: this.keyFrameDue});
      frame.close();
      this.keyFrameDue = false;
      ++this.encoded;
    }
  }

  fail(reason) {
    if (!this.failure) this.failure = reason;
    this.stop();
  }

  // Stops: the last picture is held up to now, the encoder's queue is emptied into the file,
  // and the file is downloaded. `why` says why it ended on its own. Resolves with the line
  // that `ended` was given.
  stop(why = "") {
    if (this.stopping) return this.stopped;
    this.stopping = true;
    this.stopped = this.finish(why);
    return this.stopped;
  }

  async finish(why) {
    clearInterval(this.timer);
    if (this.program.pictureShown) this.program.pictureShown = null;
    this.program = null;  // an ended program must not stay reachable from here
    let line;
    try {
      if (!this.encoder) throw new Error(this.failure || "it never started");
      if (!this.failure) this.writeTicksBefore(this.tickDue() + 1, true);
      if (this.latest) this.latest.close();
      if (this.encoder.state !== "closed") {
        await this.encoder.flush();
        this.encoder.close();
      }
      await this.writing;
      if (this.failure) throw new Error(this.failure);
      await this.output.finalize();
      const name = this.name + this.choice.extension;
      rotozoomFiles.download(new Blob([this.output.target.buffer], {type: this.choice.type}),
                             name);
      const seconds = (this.nextTick / 60).toFixed(1);
      line = `recording: ${name}, ${seconds} s (${this.nextTick} ticks) in ${this.encoded} ` +
             `frames (${this.choice.name}), ${this.dropped} pictures dropped` +
             (why ? `; ${why}` : "");
    } catch (error) {
      if (this.output && this.output.state !== "finalized") this.output.cancel().catch(() => {});
      line = `recording: not saved: ${error.message}`;
    }
    console.log(line);
    this.ended(line);
    return line;
  }
}
