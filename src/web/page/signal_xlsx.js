// The zip container and the XML of an XLSX signal list, for the page's engine, which reads the
// workbook, its shared strings and the sheet from them as the desktop does. fflate lists the
// container's parts and inflates the one asked for, its bytes counted so that a part that lies
// about its size stops there; sax reads the part's XML as it is inflated, and its elements and
// text go to the engine in batches (engine.xmlEvents; browser_signals.h says their form). The
// engine calls open, has, parse and close; each answers at once, with {kind, detail} for the
// outcome: kind "" when all went well.
'use strict';

// A property of the global object, where the engine looks it up.
globalThis.pinsumXlsx = (() => {
  // Compressed bytes pushed at a time: deflate inflates at most about 1 000 times that.
  const kSlice = 16 * 1024;
  // Characters of events handed to the engine at a time.
  const kBatch = 256 * 1024;

  const reader = { engine: null };
  let file = null;

  class Stop extends Error {}

  reader.open = (view, maxEntries) => {
    const bytes = view.slice();
    const parts = new Map();
    try {
      fflate.unzipSync(bytes, {
        filter(part) {
          if (parts.size >= maxEntries) throw new Stop();
          parts.set(part.name.toLowerCase(), part.originalSize);
          return false;
        },
      });
    } catch (e) {
      return e instanceof Stop ? { kind: 'entries' } : { kind: 'damaged', detail: e.message };
    }
    file = { bytes, parts };
    return { kind: '' };
  };

  reader.close = () => {
    file = null;
  };

  reader.has = (name) => file !== null && file.parts.has(name.toLowerCase());

  // The part's text from its bytes: UTF-16 when it begins with a byte order mark for it, else
  // UTF-8, which must be well formed.
  function textDecoder(first) {
    if (first.length >= 2 && first[0] === 0xff && first[1] === 0xfe) return new TextDecoder('utf-16le');
    if (first.length >= 2 && first[0] === 0xfe && first[1] === 0xff) return new TextDecoder('utf-16be');
    return new TextDecoder('utf-8', { fatal: true });
  }

  // The sax parser of one part, whose events gather in a batch for the engine.
  function eventParser(fail) {
    let batch = '';
    const open = [];
    const add = (type, text) => {
      if (text.includes('\0')) fail('a NUL character in the XML');
      batch += type + text + '\0';
    };
    const xml = sax.parser(true, { xmlns: true, position: true });
    xml.onopentag = (node) => {
      open.push(node.local);
      add('<', node.local);
      for (const attribute of Object.values(node.attributes)) {
        // Namespace declarations are no attributes of the element, as expat reads them too.
        if (attribute.prefix === 'xmlns' || attribute.name === 'xmlns') continue;
        add('=', attribute.local);
        add('"', attribute.value);
      }
    };
    xml.onclosetag = () => add('>', open.pop());
    xml.ontext = (text) => add('t', text);
    xml.oncdata = (text) => add('t', text);
    xml.ondoctype = () => add('!', '');
    xml.onerror = (error) => fail(`${error.message.split('\n')[0]} at line ${xml.line + 1}`);
    return {
      write(text, last) {
        xml.write(text);
        if (last) xml.close();
        if (batch.length >= kBatch || last) {
          const events = batch;
          batch = '';
          if (!reader.engine.xmlEvents(events)) throw new Stop();
        }
      },
    };
  }

  reader.parse = (name, maxBytes) => {
    const wanted = name.toLowerCase();
    if (file === null || !file.parts.has(wanted)) return { kind: 'missing' };
    if (file.parts.get(wanted) > maxBytes) return { kind: 'large' };
    let outcome = null;
    const fail = (kind, detail) => {
      if (outcome === null) outcome = { kind, detail };
      throw new Stop();
    };
    const parser = eventParser((detail) => fail('xml', detail));
    let found = false;
    let finished = false;
    let inflated = 0;
    let decoder = null;
    const unzip = new fflate.Unzip((entry) => {
      if (found || entry.name.toLowerCase() !== wanted) return;
      found = true;
      if (entry.originalSize > maxBytes) fail('large');
      entry.ondata = (error, chunk, last) => {
        // fflate hands a stop thrown while it inflated back here.
        if (error instanceof Stop) throw error;
        if (error) fail('zip', error.message);
        inflated += chunk.length;
        if (inflated > maxBytes) fail('large');
        if (decoder === null) decoder = textDecoder(chunk);
        let text;
        try {
          text = decoder.decode(chunk, { stream: !last });
        } catch (e) {
          fail('xml', 'the text is no UTF-8');
        }
        parser.write(text, last);
        finished = finished || last;
      };
      entry.start();
    });
    unzip.register(fflate.UnzipInflate);
    try {
      const bytes = file.bytes;
      for (let at = 0; at < bytes.length && !finished; at += kSlice)
        unzip.push(bytes.subarray(at, at + kSlice), at + kSlice >= bytes.length);
    } catch (e) {
      // The engine's own stop leaves the outcome to it.
      if (outcome === null && !(e instanceof Stop)) outcome = { kind: 'zip', detail: e.message };
    }
    if (outcome !== null) return outcome;
    if (!found) return { kind: 'missing' };
    if (!finished) return { kind: 'zip', detail: 'it ends before its last byte' };
    return { kind: '' };
  };

  return reader;
})();
