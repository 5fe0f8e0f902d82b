// How the page carries the picture on the screen it has, and the keyboard and the
// screen reader around it; procesor.js calls procesorView() once the module is ready.
//
// The picture is shown whole in the browser's window, as large as fits, at the size
// the module's rule gives: where a whole number of device pixels per picture pixel
// comes near enough, each pixel becomes a square of whole device pixels, never
// blended; at any other size the module makes the picture at that size, each pixel
// the average of those under it, so that every line is equally wide and none drops
// out. "1:1" shows one device pixel per picture pixel whatever the window (it then
// scrolls), the other button switches the full screen on and off.
//
// The two fields keep the caret, the selection and the editing; their text is
// transparent and the picture draws it beneath them, so that it is the picture's own
// text at every ratio. The keyboard reaches the fields, the data switches, the arrows
// and the panels through invisible buttons over them; the picture draws the dotted
// focus frame, and Space and Enter work them like a click. After each clock pulse a
// polite live region reads what the module says the pulse changed.
"use strict";

// m: the module's exports; afterEvent(): brings the page in line after an event;
// pointerDown(): whether the mouse holds a control now; now(): the page's clock in ms.
function procesorView(m, afterEvent, pointerDown, now) {
  const kWidth = 1024, kHeight = 715;
  const kToolbar = 26; // CSS pixels right of the picture for the two buttons
  const kFooter = 16; // CSS pixels under it for the link "Licence"
  const stage = document.getElementById("stage");
  const client = document.getElementById("client");
  const canvas = document.getElementById("diagram");
  const view = document.getElementById("view");
  // Drawn only by putImageData, as the picture is.
  const viewContext = view.getContext("2d", { alpha: false, willReadFrequently: true });
  const edit17 = document.getElementById("Edit17");
  const memo1 = document.getElementById("Memo1");
  const report = document.getElementById("report");
  const oneToOne = document.getElementById("one-to-one");
  const fullScreen = document.getElementById("full-screen");

  // ---- texts across the seam: UTF-8 with their lengths, NULs and all ----
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  function textOut(pointer) {
    return decoder.decode(m.HEAPU8.slice(pointer, pointer + m._procesor_out_bytes()));
  }
  function textIn(text) {
    const bytes = encoder.encode(text);
    const buffer = m._procesor_text_buffer(bytes.length); // may grow the memory
    m.HEAPU8.set(bytes, buffer);
    return bytes.length;
  }

  // ---- the picture's size ----
  let scaled = null; // [width, height] of the smaller picture, null when not made smaller
  let actualSize = false;

  // The core decides the picture's size in the room the window has (in device pixels):
  // a whole factor, sharp, or any other size, each device pixel averaged from the
  // picture's pixels under it. The buttons stay right of the fitted picture, also at
  // "1:1", so that a second click at the same place goes back.
  const tools = document.getElementById("tools");
  function fitIn(actual) {
    const ratio = window.devicePixelRatio || 1;
    const embedded = document.documentElement.classList.contains("embed");
    const roomX = Math.floor((document.documentElement.clientWidth - (embedded ? 0 : kToolbar)) * ratio);
    const roomY = Math.floor((window.innerHeight - (embedded ? 0 : kFooter)) * ratio);
    return [...new Int32Array(m.HEAP32.buffer, m._procesor_fit(roomX, roomY, actual ? 1 : 0), 3)];
  }
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const fitted = fitIn(false);
    const [deviceWidth, deviceHeight, factor] = actualSize ? fitIn(true) : fitted;
    scaled = factor ? null : [deviceWidth, deviceHeight];
    if (scaled) {
      view.width = deviceWidth;
      view.height = deviceHeight;
    }
    // The client area keeps its own pixels; a transform makes it as many device pixels
    // as chosen.
    const scale = deviceWidth / kWidth / ratio;
    client.style.transform = scale === 1 ? "" : `scale(${scale})`;
    view.hidden = !scaled;
    canvas.style.opacity = scaled ? "0" : "";
    // The picture made to size lies under the client area, untransformed, as many CSS
    // pixels as its device pixels make; lengths are laid out in 64ths of a CSS pixel,
    // rounded up to one, so that it is never a fraction of a device pixel short,
    // which would shift its last rows or columns by one.
    const css = (device) => Math.ceil(device / ratio * 64) / 64 + "px";
    if (scaled) Object.assign(view.style, { width: css(deviceWidth), height: css(deviceHeight) });
    stage.style.width = deviceWidth / ratio + "px";
    stage.style.height = deviceHeight / ratio + "px";
    tools.style.left = fitted[0] / ratio + 2 + "px";
    document.documentElement.classList.toggle("actual-size", actualSize);
    oneToOne.setAttribute("aria-pressed", String(actualSize));
    painted();
  }
  // Where a pointer at CSS pixel (x, y) of the window lands in the picture.
  function pictureAt(x, y) {
    const r = canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const at = m._procesor_picture_at(Math.floor((x - r.left) * ratio), Math.floor((y - r.top) * ratio));
    return [...new Int32Array(m.HEAP32.buffer, at, 2)];
  }

  // The smaller picture anew after every change of the picture.
  function painted() {
    if (!scaled) return;
    const [w, h] = scaled;
    const at = m._procesor_scaled(w, h); // may grow the memory
    const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, at, w * h * 4);
    viewContext.putImageData(new ImageData(pixels, w, h), 0, 0);
  }

  let watchedRatio = null;
  function watchRatio() {
    // A change of zoom or of the screen's scaling changes the device pixel ratio.
    watchedRatio?.removeEventListener("change", onRatio);
    watchedRatio = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    watchedRatio.addEventListener("change", onRatio);
  }
  function onRatio() {
    watchRatio();
    fit();
  }
  window.addEventListener("resize", fit);
  watchRatio();

  oneToOne.addEventListener("click", () => {
    actualSize = !actualSize;
    fit();
  });
  fullScreen.hidden = !document.fullscreenEnabled;
  fullScreen.addEventListener("click", () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
  });
  document.addEventListener("fullscreenchange", () => {
    const on = Boolean(document.fullscreenElement);
    fullScreen.setAttribute("aria-pressed", String(on));
    fullScreen.title = fullScreen.ariaLabel = on ? "Zpět z celé obrazovky" : "Celá obrazovka";
  });

  // ---- the fields: the picture draws their texts where they have them ----
  // The selection of a field with the focus, as byte offsets into its UTF-8 text.
  function selection(field) {
    if (document.activeElement !== field) return [0, 0];
    const bytes = (end) => encoder.encode(field.value.slice(0, end)).length;
    return [bytes(field.selectionStart), bytes(field.selectionEnd)];
  }
  function fieldsChanged() {
    m._procesor_fields_scrolled(edit17.scrollLeft, memo1.scrollLeft, memo1.scrollTop);
    m._procesor_fields_selected(...selection(edit17), ...selection(memo1));
    afterEvent();
  }
  memo1.value = textOut(m._procesor_memo_text());
  memo1.addEventListener("input", () => {
    m._procesor_memo_edited(textIn(memo1.value));
    fieldsChanged();
  });
  edit17.addEventListener("input", () => requestAnimationFrame(fieldsChanged));
  for (const field of [edit17, memo1]) {
    field.addEventListener("scroll", fieldsChanged);
    // The caret moved by keys or the mouse may scroll the text without an event of its
    // own; the selection changes as the mouse drags.
    for (const type of ["keydown", "keyup", "pointerup", "select", "focus", "blur"])
      field.addEventListener(type, () => requestAnimationFrame(fieldsChanged));
  }
  document.addEventListener("selectionchange", fieldsChanged);

  // ---- the keyboard: invisible buttons over the controls ----
  const kinds = { panel: 1, dataSwitch: 2, arrow: 3 };
  const keys = [];
  let keyHeld = null;
  function addKey(kind, number, x, y, w, h, before) {
    const key = document.createElement("button");
    key.type = "button";
    key.className = "control-key";
    if (kind === kinds.dataSwitch) key.id = "Button" + number;
    else if (kind === kinds.panel) key.id = "Panel" + number;
    else key.id = number > 0 ? "UpDown1-up" : "UpDown1-down";
    Object.assign(key.style, { left: x + "px", top: y + "px", width: w + "px", height: h + "px" });
    const cx = x + (w >> 1), cy = y + (h >> 1);
    const letGo = (ux, uy) => {
      if (keyHeld !== key) return;
      keyHeld = null;
      m._procesor_mouse_up(ux, uy, now());
    };
    key.addEventListener("focus", () => {
      m._procesor_set_focus(kind, number);
      afterEvent();
    });
    key.addEventListener("blur", () => {
      letGo(-1, -1);
      m._procesor_set_focus(0, 0);
      afterEvent();
    });
    // Space pushes the control in while held, as the mouse does; Enter clicks at once.
    key.addEventListener("keydown", (event) => {
      if (event.key !== " " && event.key !== "Enter") return;
      event.preventDefault();
      if (event.repeat || keyHeld || pointerDown()) return;
      keyHeld = key;
      m._procesor_mouse_down(cx, cy, now());
      if (event.key === "Enter") letGo(cx, cy);
      afterEvent();
    });
    key.addEventListener("keyup", (event) => {
      if (event.key !== " ") return;
      event.preventDefault();
      letGo(cx, cy);
      afterEvent();
    });
    // A click on the button itself (a screen reader's) is a click on the control.
    key.addEventListener("click", (event) => {
      if (event.detail !== 0 || keyHeld) return; // the keys above did it already
      m._procesor_mouse_down(cx, cy, now());
      m._procesor_mouse_up(cx, cy, now());
      afterEvent();
    });
    keys.push({ key, kind, number });
    if (before) before.before(key);
    else client.append(key);
  }
  // Tab order: Edit17, the data switches, Memo1, then the arrows and the panels.
  const switches = new Int32Array(m.HEAP32.buffer, m._procesor_switch_places(),
                                  m._procesor_switch_count() * 5);
  for (let i = 0; i < switches.length; i += 5)
    addKey(kinds.dataSwitch, ...switches.subarray(i, i + 5), memo1);
  const controls = new Int32Array(m.HEAP32.buffer, m._procesor_keyboard_places(),
                                  m._procesor_keyboard_count() * 6);
  for (let i = 0; i < controls.length; i += 6) addKey(...controls.subarray(i, i + 6));

  function nameKeys() {
    for (const { key, kind, number } of keys) {
      const name = textOut(m._procesor_accessible_name(kind, number));
      if (key.getAttribute("aria-label") !== name) key.setAttribute("aria-label", name);
    }
  }

  // ---- after every event ----
  return Object.freeze({
    fit,
    pictureAt,
    textOut,
    textIn,
    keyHeld: () => keyHeld !== null,
    // The picture changed (count rectangles), the state may have.
    afterPaint(count) {
      if (count > 0) painted();
      nameKeys();
      const said = textOut(m._procesor_take_report());
      if (said !== "") report.textContent = said;
    },
  });
}
