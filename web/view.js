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
// and the panels through invisible buttons over them; their keys go to the module,
// which moves the focus round them and works the control (Space holds it down as the
// mouse does, Enter clicks it); the page puts the focus where the module says, and the
// picture draws the dotted focus frame. After each clock pulse a polite live region
// reads what the module says the pulse changed.
"use strict";

// m: the module's exports; apply(update): carries out the update an event returned;
// now(): the page's clock in ms.
function procesorView(m, apply, now) {
  const places = new Int32Array(m.HEAP32.buffer, m._procesor_places(), 14);
  const kWidth = places[12], kHeight = places[13]; // the diagram's size, as the module has it
  const client = document.getElementById("client");
  const canvas = document.getElementById("diagram");
  const view = document.getElementById("view");
  // Drawn only by putImageData, as the picture is.
  const viewContext = view.getContext("2d", { alpha: false, willReadFrequently: true });
  const edit17 = document.getElementById("Edit17");
  const memo1 = document.getElementById("Memo1");
  const report = document.getElementById("report");
  const oneToOne = document.getElementById("one-to-one");
  const panesCanvas = document.getElementById("panes");
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
  // (The room and the layout: web/start.js, shared with the start picture.)
  function fitIn(actual) {
    return [...new Int32Array(m.HEAP32.buffer, m._procesor_fit(...procesorRoom(), actual ? 1 : 0), 3)];
  }
  function fit() {
    const fitted = fitIn(false);
    const shown = actualSize ? fitIn(true) : fitted;
    const [deviceWidth, deviceHeight, factor] = shown;
    scaled = factor ? null : [deviceWidth, deviceHeight];
    if (scaled) {
      view.width = deviceWidth;
      view.height = deviceHeight;
    }
    procesorLayOut(shown, kWidth + paneWidth, fitted[0]); // the panes fitted with the diagram
    document.documentElement.classList.toggle("actual-size", actualSize);
    oneToOne.setAttribute("aria-pressed", String(actualSize));
    painted();
    window.procesorExplainers?.refit();
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
  // The projector's view: the full screen with the diagram alone, fitted to all of it;
  // the full-screen button and F11 go in, F11 and Escape back (and so does the
  // browser's own way out of the full screen). Where the browser grants no full
  // screen, the view fills the window.
  let projector = false;
  function showProjector(on) {
    projector = on;
    document.documentElement.classList.toggle("projector", on);
    fullScreen.setAttribute("aria-pressed", String(on));
    fullScreen.title = fullScreen.ariaLabel = on ? "Zpět z celé obrazovky" : "Celá obrazovka";
    fit();
  }
  function toggleProjector() {
    if (!projector) {
      showProjector(true);
      if (document.fullscreenEnabled && !document.fullscreenElement)
        document.documentElement.requestFullscreen().catch(() => {});
    } else {
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      showProjector(false);
      fullScreen.focus();
    }
  }
  fullScreen.addEventListener("click", toggleProjector);
  document.addEventListener("fullscreenchange", () => {
    if (!document.fullscreenElement && projector) showProjector(false);
    else fit();
  });
  document.addEventListener("keydown", (event) => {
    const plain = !event.ctrlKey && !event.altKey && !event.metaKey && !event.shiftKey;
    if (!plain || event.defaultPrevented) return;
    // Escape closes an explainer first (its window takes it before).
    if (event.key === "F11" || (event.key === "Escape" && projector &&
                                !document.querySelector(".explainer, dialog[open]"))) {
      event.preventDefault();
      if (event.key === "F11" || projector) toggleProjector();
    }
  });

  // ---- the fields: the picture draws their texts where they have them ----
  // The selection of a field with the focus, as byte offsets into its UTF-8 text.
  function selection(field) {
    if (document.activeElement !== field) return [0, 0];
    const bytes = (end) => encoder.encode(field.value.slice(0, end)).length;
    return [bytes(field.selectionStart), bytes(field.selectionEnd)];
  }
  function fieldsChanged(memoText) {
    const memoBytes = memoText === undefined ? -1 : textIn(memoText);
    apply(m._procesor_fields_shown(memoBytes, edit17.scrollLeft, memo1.scrollLeft, memo1.scrollTop,
                                   ...selection(edit17), ...selection(memo1)));
  }
  memo1.value = textOut(m._procesor_memo_text());
  memo1.addEventListener("input", () => fieldsChanged(memo1.value));
  edit17.addEventListener("input", () => requestAnimationFrame(() => fieldsChanged()));
  for (const field of [edit17, memo1]) {
    field.addEventListener("scroll", () => fieldsChanged());
    // The caret moved by keys or the mouse may scroll the text without an event of its
    // own; the selection changes as the mouse drags.
    for (const type of ["keydown", "keyup", "pointerup", "select", "focus", "blur"])
      field.addEventListener(type, () => requestAnimationFrame(() => fieldsChanged()));
  }
  document.addEventListener("selectionchange", () => fieldsChanged());

  // ---- the keyboard: the focus ring as the module has it ----
  // Copied: a view of the module's memory goes stale when the memory grows.
  const codes = [...new Int32Array(m.HEAP32.buffer, m._procesor_codes(), 19)];
  const kinds = { image: codes[0], label: codes[1], panel: codes[2], dataSwitch: codes[3],
                  arrow: codes[4], field: codes[5], pane: codes[18] };
  const keyCodes = { Tab: codes[6], BackTab: codes[7], " ": codes[8], Enter: codes[9],
                     ArrowUp: codes[10], ArrowDown: codes[11] };
  // The time line's keys and a presentation clicker's, wherever the focus is but in
  // a text field (there Ctrl+Z undoes typing): the module decides what they do. F8
  // ("Časový diagram") and Ctrl+S ("Uložit obrázek…") work in the fields too.
  const kAnywhere = [codes[16], codes[17]];
  function timeLineKey(event) {
    const ctrl = event.ctrlKey || event.metaKey;
    const k = event.key.length === 1 ? event.key.toLowerCase() : event.key;
    if (ctrl && !event.altKey && !event.shiftKey && k === "s") return codes[17];
    if (!ctrl && !event.altKey && !event.shiftKey && k === "F8") return codes[16];
    if (ctrl && !event.altKey && k === "z") return event.shiftKey ? codes[13] : codes[12];
    if (ctrl && !event.altKey && !event.shiftKey && k === "y") return codes[13];
    if (ctrl || event.altKey) return undefined;
    return k === "PageUp" ? codes[14] : k === "PageDown" ? codes[15] : undefined;
  }
  document.addEventListener("keydown", (event) => {
    const code = timeLineKey(event);
    if (code === undefined) return;
    const anywhere = kAnywhere.includes(code);
    if (!anywhere && (event.target === edit17 || event.target === memo1)) return;
    if (anywhere) event.preventDefault(); // the browser's own "save page" kept back
    const u = apply(m._procesor_key(code, 1, now()));
    if (u[7] !== 0) event.preventDefault();
  });
  const stops = []; // { element, kind, number } in the ring's order
  const stopOf = (element) => stops.find((s) => s.element === element);
  function elementFor(kind, number) {
    return stops.find((s) => s.kind === kind && s.number === number)?.element ?? null;
  }
  // The focus where the module has it, unless it has left the diagram.
  let moving = false;
  function showFocus(u) {
    const target = u[2] < 0 ? null : elementFor(u[2], u[3]);
    if (!target || document.activeElement === target || target.hidden) return;
    moving = true;
    target.focus();
    moving = false;
  }
  function listen(element, kind, number) {
    stops.push({ element, kind, number });
    element.addEventListener("focus", () => {
      if (!moving) apply(m._procesor_focus(kind, number, now()));
    });
    element.addEventListener("blur", (event) => {
      if (!rebuilding && !stopOf(event.relatedTarget)) apply(m._procesor_focus(-1, 0, now()));
    });
    element.addEventListener("keydown", (event) => {
      const name = event.key === "Tab" && event.shiftKey ? "BackTab" : event.key;
      const code = keyCodes[name];
      if (code === undefined || event.ctrlKey || event.altKey || event.metaKey) return;
      if (kind === kinds.field && (name === " " || name === "Enter")) return; // typed
      const u = apply(m._procesor_key(code, 1, now()));
      // A key the module did not take (Tab out of the diagram) is the browser's.
      if (u[7] !== 0) event.preventDefault();
    });
    element.addEventListener("keyup", (event) => {
      if (event.key !== " " || kind === kinds.field) return;
      event.preventDefault();
      apply(m._procesor_key(keyCodes[" "], 0, now()));
    });
  }
  // Invisible buttons over the drawn controls.
  function addKey(kind, number, x, y, w, h) {
    const key = document.createElement("button");
    key.type = "button";
    key.className = "control-key";
    if (kind === kinds.dataSwitch) key.id = "Button" + number;
    else if (kind === kinds.panel) key.id = "Panel" + number;
    else if (kind === kinds.pane) key.id = "pane-" + number;
    else if (kind === kinds.image) key.id = "Image" + number;
    else if (kind === kinds.label) key.id = "Label" + number;
    else key.id = number > 0 ? "UpDown1-up" : "UpDown1-down";
    Object.assign(key.style, { left: x + "px", top: y + "px", width: w + "px", height: h + "px" });
    const cx = x + (w >> 1), cy = y + (h >> 1);
    // A click on the button itself (a screen reader's) is a click on the control; the
    // keys' own clicks are kept back above.
    key.addEventListener("click", (event) => {
      if (event.detail !== 0) return;
      if (kind === kinds.image || kind === kinds.label) {
        // A block's middle may lie under a listing line: the element itself, as Enter.
        apply(m._procesor_focus(kind, number, now()));
        apply(m._procesor_key(keyCodes.Enter, 1, now()));
        return;
      }
      apply(m._procesor_mouse_down(cx, cy, now()));
      apply(m._procesor_mouse_up(cx, cy, now()));
    });
    return key;
  }
  // Tab order: Edit17, the data switches, Memo1, the arrows, the panels, then the
  // blocks, gates and listing lines that open an explainer.
  const ring = new Int32Array(m.HEAP32.buffer, m._procesor_focus_ring(),
                              m._procesor_focus_ring_count() * 6);
  const keys = [];
  let beforeMemo = true;
  for (let i = 0; i < ring.length; i += 6) {
    const [kind, number] = ring.subarray(i, i + 2);
    let element;
    if (kind === kinds.field) {
      element = number === 17 ? edit17 : memo1;
      beforeMemo = number === 17;
    } else {
      element = addKey(...ring.subarray(i, i + 6));
      keys.push({ key: element, kind, number });
      if (beforeMemo) memo1.before(element);
      else client.append(element);
    }
    listen(element, kind, number);
  }

  // The panes right of the diagram (the module's picture of them, `width` wide, none
  // at 0) with invisible buttons over their controls, after the diagram's in Tab's
  // order; the whole is fitted anew, the panes with the diagram.
  let paneKeys = [];
  let panePlaces = "";
  let paneWidth = 0;
  let rebuilding = false; // a removed button's blur is not the focus leaving
  function panes(width) {
    paneWidth = width;
    document.documentElement.style.setProperty("--panes-width", width + "px");
    panesCanvas.hidden = width === 0;
    if (width > 0) {
      panesCanvas.width = width;
      panesCanvas.height = kHeight;
      const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, m._procesor_pane_pixels(), width * kHeight * 4);
      panesCanvas.getContext("2d").putImageData(new ImageData(pixels, width, kHeight), 0, 0);
    }
    const count = m._procesor_pane_controls_count();
    const places = new Int32Array(m.HEAP32.buffer, m._procesor_pane_controls(), count * 6).slice();
    if (places.join() !== panePlaces) {
      panePlaces = places.join();
      rebuilding = true;
      for (const key of paneKeys) {
        stops.splice(stops.findIndex((s) => s.element === key), 1);
        keys.splice(keys.findIndex((k) => k.key === key), 1);
        key.remove();
      }
      rebuilding = false;
      paneKeys = [];
      for (let i = 0; i < places.length; i += 6) {
        const [kind, number] = places.subarray(i, i + 2);
        const key = addKey(...places.subarray(i, i + 6));
        client.append(key);
        listen(key, kind, number);
        keys.push({ key, kind, number });
        paneKeys.push(key);
      }
    }
    fit();
  }

  function nameKeys() {
    for (const { key, kind, number } of keys) {
      const name = textOut(m._procesor_accessible_name(kind, number));
      if (key.getAttribute("aria-label") !== name) key.setAttribute("aria-label", name);
    }
  }

  // ---- after every event ----
  return Object.freeze({
    fit,
    panes,
    pictureAt,
    textOut,
    textIn,
    kinds,
    // The picture changed (count rectangles), the state may have, the focus moved; a
    // pulse gave the sentence.
    afterUpdate(u, count, sentence) {
      if (count > 0) painted();
      nameKeys();
      showFocus(u);
      if (sentence !== "") report.textContent = sentence;
    },
  });
}
