// The page's first picture, before the module has started. The build paints the start
// state (the diagram as the page shows it with no program in its address and no work
// kept) and writes it into the page with the places of the fields and the rule for the
// picture's size, in a tiny module of its own that also unpacks the picture at once
// (procesorStartPicture, written in by scripts/web_page.py). Where that rule gives a
// whole factor (the picture sharp, as the module would show it), this script lays the
// page out as view.js does, puts the picture on the diagram's canvas and marks
// "procesor-first-frame" before it ends; procesor.js starts
// the module once that frame is on the screen. Anywhere else (a size the module makes
// itself, a program or a task in the address, work kept) it shows nothing, and the
// module's own first frame is the first.
//
// The room, the layout and the places of the fields are written here once, for this
// script and for view.js and procesor.js.
"use strict";

// The work kept across a reload, in this tab's storage (timeline.js), under this key.
const procesorWorkKey = "procesor:" + location.pathname;

// The bytes that the page carries written in base64: by the browser's own decoder
// where it has one (a loop over the characters takes a millisecond or more at start),
// else a character at a time.
function procesorBytes(text) {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
  const binary = atob(text), out = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) out[i] = binary.charCodeAt(i);
  return out;
}

// The diagram's canvas, drawn only by putImageData (and here by drawImage once), so it
// may as well live in main memory; the first call decides how it is made.
function procesorDiagramContext() {
  return document.getElementById("diagram").getContext("2d", { alpha: false, willReadFrequently: true });
}

// The room the picture has in the window, in device pixels: the window less the strip
// of buttons right of it and the line of the link "Licence" under it (neither in the
// embedded view or the projector's).
function procesorRoom() {
  const kToolbar = 26; // CSS pixels right of the picture for the buttons
  const kFooter = 16; // CSS pixels under it for the link "Licence"
  const ratio = window.devicePixelRatio || 1;
  const classes = document.documentElement.classList;
  const embedded = classes.contains("embed") || classes.contains("projector");
  return [Math.floor((document.documentElement.clientWidth - (embedded ? 0 : kToolbar)) * ratio),
          Math.floor((window.innerHeight - (embedded ? 0 : kFooter)) * ratio)];
}

// The page laid out for the picture shown [width, height, factor] in device pixels
// (factor 0: the module makes it at that size, on #view) when `width` picture pixels
// wide; the buttons right of where the picture fitted (`fittedWidth`), so that they
// stay there at "1:1".
function procesorLayOut([deviceWidth, deviceHeight, factor], width, fittedWidth) {
  const ratio = window.devicePixelRatio || 1;
  const scaled = !factor;
  const view = document.getElementById("view");
  // The client area keeps its own pixels; a transform makes it as many device pixels
  // as chosen.
  const scale = deviceWidth / width / ratio;
  document.getElementById("client").style.transform = scale === 1 ? "" : `scale(${scale})`;
  view.hidden = !scaled;
  document.getElementById("diagram").style.opacity = scaled ? "0" : "";
  document.getElementById("panes").style.opacity = scaled ? "0" : "";
  // The picture made to size lies under the client area, untransformed, as many CSS
  // pixels as its device pixels make; lengths are laid out in 64ths of a CSS pixel,
  // rounded up to one, so that it is never a fraction of a device pixel short,
  // which would shift its last rows or columns by one.
  const css = (device) => Math.ceil(device / ratio * 64) / 64 + "px";
  if (scaled) Object.assign(view.style, { width: css(deviceWidth), height: css(deviceHeight) });
  const stage = document.getElementById("stage");
  stage.style.width = deviceWidth / ratio + "px";
  stage.style.height = deviceHeight / ratio + "px";
  document.getElementById("tools").style.left = fittedWidth / ratio + 2 + "px";
}

// The diagram's size and the fields' places (x, y, w, h of Edit17, UpDown1 and Memo1,
// then the diagram's width and height, as the module's procesor_places() gives them).
// A field goes inside the sunken frame that the picture draws around it.
function procesorPlace(places) {
  const kFrame = 2;
  const canvas = document.getElementById("diagram");
  // (A canvas given its size anew is cleared, even the same size.)
  if (canvas.width !== places[12]) canvas.width = places[12];
  if (canvas.height !== places[13]) canvas.height = places[13];
  const style = document.documentElement.style;
  style.setProperty("--diagram-width", places[12] + "px");
  style.setProperty("--diagram-height", places[13] + "px");
  for (const [id, at] of [["Edit17", 0], ["Memo1", 8]]) {
    const [x, y, w, h] = places.slice(at, at + 4);
    Object.assign(document.getElementById(id).style, {
      left: x + kFrame + "px", top: y + kFrame + "px",
      width: w - 2 * kFrame + "px", height: h - 2 * kFrame + "px" });
  }
}

// Resolves true once the start picture is on the canvas, false where none is shown.
const procesorStartFrame = (function () {
  // "#embed": the diagram alone, fitted to the frame it is shown in (an iframe in a
  // course page), without the buttons and the link beside it.
  const hash = location.hash.slice(1).split("&");
  // (The class only where asked: the page starts without it, and the class list's
  // first use costs half a millisecond at start.)
  if (hash.includes("embed")) document.documentElement.classList.add("embed");
  if (procesorProgram.linked() || typeof WebAssembly !== "object") return Promise.resolve(false);
  // Work is kept for a reload or a step back or forward in the tab's history; a page
  // opened anew (the file opened, a link followed) does not ask the tab's storage
  // before its first picture, which costs a round trip to the browser's own process,
  // often milliseconds, at start. (Where such a page still finds work kept, as when
  // its address is typed again in the tab that kept it, the module brings the work
  // back a moment after the start picture.)
  try {
    if (performance.getEntriesByType?.("navigation")[0]?.type !== "navigate" &&
        sessionStorage.getItem(procesorWorkKey) !== null)
      return Promise.resolve(false);
  } catch {
    // No storage: no work kept either.
  }
  const start = procesorStartPicture;
  const width = start.places[12], height = start.places[13];
  try {
    const m = new WebAssembly.Instance(new WebAssembly.Module(procesorBytes(start.module))).exports;
    const shown = [...new Int32Array(m.memory.buffer, m.fit(...procesorRoom(), width, height), 3)];
    if (!shown[2]) return Promise.resolve(false);
    // The colours, the packed colour numbers and the pixels made of them, one after
    // the other in the module's memory.
    const packed = procesorBytes(start.pixels);
    const colours = start.palette.length;
    const pixelsAt = (4 * colours + packed.length + 3) & ~3;
    const at = m.room(pixelsAt + 4 * width * height);
    if (!at) return Promise.resolve(false);
    const memory = m.memory.buffer;
    new Uint32Array(memory, at, colours).set(start.palette);
    new Uint8Array(memory, at + 4 * colours, packed.length).set(packed);
    if (!m.unpack(at, colours, at + 4 * colours, packed.length, width, height, at + pixelsAt))
      return Promise.resolve(false);
    procesorPlace(start.places);
    procesorLayOut(shown, width, shown[0]);
    procesorDiagramContext().putImageData(
      new ImageData(new Uint8ClampedArray(memory, at + pixelsAt, 4 * width * height), width, height), 0, 0);
  } catch {
    return Promise.resolve(false);
  }
  performance.mark("procesor-first-frame");
  return Promise.resolve(true);
})();
